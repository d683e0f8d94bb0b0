#pragma once
// Numbers as the coordinate texts write and read them: the user's regional decimal separator,
// the general number-to-text form (at most 15 significant digits, never an exponent), the fixed
// patterns ("0", "0.0000", "0.00000", "0.000000000") and the reading of a typed number.

#include <QChar>
#include <QString>
#include <QStringView>

namespace coords {

// The regional decimal separator: "," in French settings. Taken from the default QLocale the
// first time it is asked, unless set before.
QChar separateurDecimal();
void definirSeparateurDecimal(QChar separateur);

// Sets the separator for one scope and puts the previous one back (tests, the driver).
class SeparateurDecimal
{
public:
    explicit SeparateurDecimal(QChar separateur);
    ~SeparateurDecimal();
    SeparateurDecimal(const SeparateurDecimal&) = delete;
    SeparateurDecimal& operator=(const SeparateurDecimal&) = delete;

private:
    QChar m_precedent;
};

// General form: rounded to 15 significant digits, trailing zeros dropped, no leading zeros
// beyond the one before the separator ("0,5"), no exponent (5e-13 -> "0,0000000000005").
// -0 and values that round to zero give "0". Not-a-number and infinities give "".
QString texteGeneral(double v, QChar separateur);
inline QString texteGeneral(double v) { return texteGeneral(v, separateurDecimal()); }

// The general form written into a buffer of at least TAILLE_TEXTE_GENERAL characters; returns
// the number written (0 for not-a-number and infinities).
inline constexpr int TAILLE_TEXTE_GENERAL = 340;
int ecrireGeneral(double v, char16_t separateur, char16_t* out);

// Fixed pattern with the given number of decimals ("0" -> 0, "0.00000" -> 5), halves away from
// zero on the value's 15-significant-digit form.
QString texteFixe(double v, int decimales, QChar separateur);
inline QString texteFixe(double v, int decimales) { return texteFixe(v, decimales, separateurDecimal()); }

// The value that texteFixe writes, as a number: v rounded to that many decimals.
double arrondiDecimales(double v, int decimales);
// v rounded to 15 significant digits: the value that its general text reads back as.
double arrondiSignificatifs15(double v);
// v cut (not rounded) after that many decimals, on its 15-significant-digit form.
double troncatureDecimales(double v, int decimales);

// A typed number: blanks around it, an optional sign, digits with at most one decimal separator,
// an optional exponent (E or e). Not-a-number, infinities and anything else are no number.
struct Lecture
{
    enum Etat { Nombre, PasUnNombre, HorsLimites };
    Etat etat = PasUnNombre;
    double valeur = 0;
    bool ok() const { return etat == Nombre; }
};
// Reads with the given separator as the only decimal separator.
Lecture lireNombre(QStringView texte, QChar separateur);
inline Lecture lireNombre(QStringView texte) { return lireNombre(texte, separateurDecimal()); }
// Reads a value typed in a coordinate slot: "." and "," are both taken as the decimal separator.
Lecture lireNombreSouple(QStringView texte);

// Every "," or "." of the text becomes the given separator.
QString versSeparateur(QString texte, QChar separateur);

// Trimmed of blanks (spaces only, as the typed texts are trimmed).
QStringView sansBlancs(QStringView texte);

} // namespace coords
