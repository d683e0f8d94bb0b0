#pragma once
// NTF geographic coordinates in grads, longitude counted from the Paris meridian: the hub of the
// coordinate conversion. Turned into WGS84 or ED50 degrees-minutes-seconds texts and back,
// through the geocentric datum change.

#include "coords/Datums.h"

#include <QString>

#include <optional>

// NTF grads on the Earth: longitudes from -200 to 200 (half a turn either side of Paris),
// latitudes from -100 to 100. False for anything else, not-a-number included.
bool ntfDansLesBornes(double lambda, double phi);

// Letter, degrees, "°", minutes, "'", seconds, "''" with nothing between them.
QString fun_Format_DMS(const QString& hemisphere, const QString& degres, const QString& minutes,
                       const QString& secondes);
// The same with numbers, each in the general text form with the regional separator.
QString fun_Format_DMS(const QString& hemisphere, double degres, double minutes, double secondes);

// A non-negative number of degrees as whole degrees, whole minutes and the remaining seconds
// (not rounded; never negative, and never written as 60: see reporterSoixante).
struct DegresMinutesSecondes
{
    double degres = 0;
    double minutes = 0;
    double secondes = 0;
};
DegresMinutesSecondes fun_Decouper_Degres(double v);

struct NtfVersDms
{
    QString longitude; // "E2°20'14,0250000000001''" ...
    QString latitude;
    // The parts as the texts hold them (the seconds at their 15 significant digits).
    QChar lettreLongitude, lettreLatitude;
    DegresMinutesSecondes partiesLongitude, partiesLatitude;
    Cartesien xyz; // geocentric, metres, on the target datum
};

// NTF grads (single precision, as the callers hold them) to texts on "WGS84"/"W" or "ED50"/"E".
// Nothing for another target, grads beyond their range or a value that cannot be converted.
std::optional<NtfVersDms> sub_NTF_To_DMS(float lambda, float phi, const QString& datumCible);
std::optional<NtfVersDms> ntfVersDms(float lambda, float phi, Datum cible);

struct DmsVersNtf
{
    double lambda = 0; // NTF grads from Paris, four decimals
    double phi = 0;    // NTF grads, four decimals
    Cartesien xyz;     // geocentric on NTF, metres
};

// Degrees-minutes-seconds texts on "WGS84"/"W" or "ED50"/"E" to NTF grads rounded to four
// decimals. Nothing when a text cannot be read or the datum is not one of those.
std::optional<DmsVersNtf> sub_DMS_To_NTF(const QString& longitude, const QString& latitude,
                                         const QString& datumSource);
std::optional<DmsVersNtf> dmsVersNtf(const QString& longitude, const QString& latitude, Datum source);
