// mirelot-coords: runs the coordinate conversion over lines of standard input, one output line
// per input line, fields separated by tabs. Used by the golden tests and the benchmarks; not
// installed with the program.
//
//   mirelot-coords [--threads=N] [--decimal=,|--decimal=.] COMMAND ARGUMENTS < input > output
//
// Inputs of 2000 lines or more are converted in blocks on N threads (by default one per
// processor, at most 64 whatever is asked; N is a whole number from 1 up); the output keeps the
// order of the input.
//
//   ntf-to-dms DATUM   in "lambda phi" (NTF grads)         out "longitude latitude" (texts)
//   dms-to-ntf DATUM   in "longitude latitude" (texts)     out "lambda phi" (NTF grads)
//   lambert ZONE       in "X Y" (the zone's metres)        out "lambda phi X Y" (NTF grads,
//                                                          then the Lambert II étendu point)
//   validate TYPE      in "longitude latitude"             out "error message longitude latitude"
//   convert TYPE [ZONE] in "first second third" (the source slots of TYPE; for type 4 the
//                      reference alone will do)           out "error message" then the first,
//                                                          second and third value of slots 0 to 4
//   distance           in "lon1 lat1 lon2 lat2" (texts)    out kilometres
//
// Input fields are separated by tabs when the line holds one, otherwise by blanks. Numbers are
// read with "." or "," and written with the chosen separator. A line that cannot be converted
// gives "-1".

#include "coords/Conversion.h"
#include "coords/Distance.h"
#include "coords/Lambert.h"
#include "coords/Ntf.h"
#include "coords/TexteNombre.h"
#include "coords/VerifCoordonnees.h"

#include <QString>
#include <QStringList>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

using namespace coords;

namespace {

int usage()
{
    std::fputs("usage: mirelot-coords [--threads=N] [--decimal=,|--decimal=.] COMMAND ARGUMENTS < input\n"
               "  ntf-to-dms DATUM | dms-to-ntf DATUM | lambert ZONE | validate TYPE\n"
               "  convert TYPE ZONE | distance\n",
               stderr);
    return 2;
}

QStringList champs(const QString& ligne)
{
    if (ligne.contains(QLatin1Char('\t')))
        return ligne.split(QLatin1Char('\t'));
    return ligne.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

std::optional<double> nombre(const QString& t)
{
    const Lecture l = lireNombreSouple(t);
    if (!l.ok())
        return std::nullopt;
    return l.valeur;
}

QString joindre(std::initializer_list<QString> champs)
{
    return QStringList(champs).join(QLatin1Char('\t'));
}

const QString ECHEC = QStringLiteral("-1");

// More threads than this gain nothing on the machines the driver runs on, and thousands of them
// exhaust the system's limits.
constexpr size_t kMaxThreads = 64;

// The count of "--threads=N": a whole number from 1 up, bounded to kMaxThreads; nullopt for
// anything else.
std::optional<size_t> nombreDeFils(const std::string& texte)
{
    unsigned long long n = 0;
    const char* fin = texte.data() + texte.size();
    const auto [p, ec] = std::from_chars(texte.data(), fin, n);
    if (p != fin || ec == std::errc::invalid_argument)
        return std::nullopt;
    if (ec == std::errc::result_out_of_range)
        return kMaxThreads;
    if (n == 0)
        return std::nullopt;
    return size_t(std::min<unsigned long long>(n, kMaxThreads));
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    // Threads: all the processor's by default, for inputs of 2000 lines or more.
    size_t fils = std::clamp<size_t>(std::thread::hardware_concurrency(), 1, kMaxThreads);
    if (!args.empty() && args[0].rfind("--threads=", 0) == 0) {
        const std::optional<size_t> n = nombreDeFils(args[0].substr(10));
        if (!n) {
            std::fprintf(stderr,
                         "mirelot-coords: %s: the number of threads must be a whole number from 1 up\n",
                         args[0].c_str());
            return usage();
        }
        fils = *n;
        args.erase(args.begin());
    }
    QChar separateur = QLatin1Char('.');
    if (!args.empty() && args[0].rfind("--decimal=", 0) == 0) {
        const std::string s = args[0].substr(10);
        if (s != "," && s != ".")
            return usage();
        separateur = QLatin1Char(s[0]);
        args.erase(args.begin());
    }
    if (args.empty() || (args.size() < 2 && args[0] != "distance"))
        return usage();
    definirSeparateurDecimal(separateur);
    const std::string commande = args[0];
    const QString argument = args.size() > 1 ? QString::fromUtf8(args[1]) : QString();

    std::function<QString(const QStringList&)> traiter;
    if (commande == "ntf-to-dms") {
        traiter = [&](const QStringList& f) {
            if (f.size() < 2)
                return ECHEC;
            const auto l = nombre(f[0]);
            const auto p = nombre(f[1]);
            if (!l || !p)
                return ECHEC;
            const auto r = sub_NTF_To_DMS(float(*l), float(*p), argument);
            return r ? joindre({r->longitude, r->latitude}) : ECHEC;
        };
    } else if (commande == "dms-to-ntf") {
        traiter = [&](const QStringList& f) {
            if (f.size() < 2)
                return ECHEC;
            const auto r = sub_DMS_To_NTF(f[0], f[1], argument);
            return r ? joindre({texteGeneral(r->lambda), texteGeneral(r->phi)}) : ECHEC;
        };
    } else if (commande == "lambert") {
        traiter = [&](const QStringList& f) {
            if (f.size() < 2)
                return ECHEC;
            const auto x = nombre(f[0]);
            const auto y = nombre(f[1]);
            if (!x || !y)
                return ECHEC;
            const auto r = sub_Lambert_To_NTF(*x, *y, argument);
            if (!r)
                return ECHEC;
            const QString zone = argument == u"*" ? QStringLiteral("2E") : argument;
            PointLambert e{*x, *y};
            if (fun_Index_Zone_Lambert(zone) != fun_Index_Zone_Lambert(QStringLiteral("2E"))) {
                const auto z = sub_Lambert_Zone(zone, QStringLiteral("2E"), *x, *y);
                if (!z)
                    return ECHEC;
                e = *z;
            }
            return joindre({r->lambda, r->phi, texteGeneral(e.X), texteGeneral(e.Y)});
        };
    } else if (commande == "validate") {
        traiter = [&](const QStringList& f) {
            QString lon = f.value(0);
            QString lat = f.value(1);
            const VerifCoordonnees v = fun_Verif_Coordonnees(lon, lat, true, argument);
            return joindre({QString::number(v.erreur), v.message, lon, lat});
        };
    } else if (commande == "convert") {
        bool ok = false;
        const int type = argument.toInt(&ok);
        if (!ok)
            return usage();
        // No ZONE argument: an empty zone.
        const QString zone = args.size() > 2 ? QString::fromUtf8(args[2]) : QString();
        traiter = [type, zone](const QStringList& f) {
            SlotsCoord x, y, z;
            if (type >= 0 && type <= 4) {
                if (type == gint_MGRS && f.size() == 1) {
                    z[type] = f[0];
                } else {
                    x[type] = f.value(0);
                    y[type] = f.value(1);
                    z[type] = f.value(2);
                }
            }
            const ResultatConversion r = sub_Convertir_Coordonnees(x, y, z, type, zone);
            QString sortie;
            sortie.reserve(256);
            sortie += QString::number(r.erreur);
            sortie += QLatin1Char('\t');
            sortie += r.message;
            for (int k = 0; k < 5; ++k)
                for (const SlotsCoord* s : {&x, &y, &z}) {
                    sortie += QLatin1Char('\t');
                    sortie += fun_Texte_Coord((*s)[k]);
                }
            return sortie;
        };
    } else if (commande == "distance") {
        traiter = [](const QStringList& f) {
            return texteGeneral(fun_Get_Distance_WGS84(f.value(0), f.value(1), f.value(2), f.value(3)));
        };
    } else {
        return usage();
    }

    std::string entree;
    char tampon[1 << 16];
    size_t n;
    while ((n = std::fread(tampon, 1, sizeof tampon, stdin)) > 0)
        entree.append(tampon, n);

    // Lines, then blocks of lines converted side by side; the outputs keep the input's order.
    struct Ligne
    {
        size_t debut, longueur;
    };
    std::vector<Ligne> lignes;
    for (size_t debut = 0; debut < entree.size();) {
        size_t fin = entree.find('\n', debut);
        if (fin == std::string::npos)
            fin = entree.size();
        size_t longueur = fin - debut;
        if (longueur > 0 && entree[debut + longueur - 1] == '\r')
            --longueur;
        lignes.push_back({debut, longueur});
        debut = fin + 1;
    }
    if (lignes.size() < 2000)
        fils = 1;
    fils = std::max<size_t>(1, std::min(fils, lignes.size()));
    std::vector<QByteArray> sorties(fils);
    auto convertir = [&](size_t k) {
        const size_t premier = lignes.size() * k / fils;
        const size_t dernier = lignes.size() * (k + 1) / fils;
        QString bloc;
        bloc.reserve(qsizetype(dernier - premier) * 160);
        for (size_t i = premier; i < dernier; ++i) {
            const QString ligne = QString::fromUtf8(entree.data() + lignes[i].debut, qsizetype(lignes[i].longueur));
            bloc += traiter(champs(ligne));
            bloc += QLatin1Char('\n');
        }
        sorties[k] = bloc.toUtf8();
    };
    std::vector<std::thread> travail;
    size_t k = 1;
    try {
        for (; k < fils; ++k)
            travail.emplace_back(convertir, k);
    } catch (const std::system_error&) {
        // The system refuses another thread: the blocks left are converted here.
        for (; k < fils; ++k)
            convertir(k);
    }
    convertir(0);
    for (std::thread& t : travail)
        t.join();
    for (const QByteArray& o : sorties)
        std::fwrite(o.constData(), 1, size_t(o.size()), stdout);
    return 0;
}
