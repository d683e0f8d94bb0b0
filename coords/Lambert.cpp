#include "coords/Lambert.h"

#include "coords/GeodeticConstants.h"
#include "coords/Ntf.h"
#include "coords/NumberText.h"

#include <cmath>

using namespace coords;

namespace {

// Index of Lambert II étendu in kLambertZones.
constexpr int kIndex2e = 3;

bool isFinite(double a, double b) { return std::isfinite(a) && std::isfinite(b); }

} // namespace

int coords::lambertZoneIndex(const QString& zone)
{
    // The code alone, or after "LAMBERT " or "LAMBERTS ", compared in upper case.
    QStringView code(zone);
    for (const QLatin1StringView prefix : {QLatin1StringView("LAMBERTS "), QLatin1StringView("LAMBERT ")}) {
        if (code.startsWith(prefix, Qt::CaseInsensitive)) {
            code = code.mid(prefix.size());
            break;
        }
    }
    static const char* const codes[6] = {"", "1", "2", "2E", "3", "4"};
    for (int i = 1; i <= 5; ++i)
        if (code.compare(QLatin1StringView(codes[i]), Qt::CaseInsensitive) == 0)
            return i;
    return 0;
}

std::optional<LambertPoint> sub_NTF_To_Lambert(double lambda, double phi)
{
    if (!ntfInRange(lambda, phi))
        return std::nullopt;
    const double lr = kLambertRadiansPerGradForward * lambda;
    const double pr = kLambertRadiansPerGradForward * phi;
    const double n = std::sin(kLambert2ePhi0);
    const double gamma = n * lr;
    const double es = kLambertEccentricity * std::sin(pr);
    const double L =
        std::log(std::tan(pr / 2 + kLambertPi4)) - (kLambertEccentricity * std::log((1 + es) / (1 - es))) / 2;
    const double R = kLambert2eR0 * std::exp((kLambert2eL0 - L) * n);
    const LambertPoint p{R * std::sin(gamma) + kLambert2eFalseEasting,
                         kLambert2eFalseNorthing + kLambert2eR0 - R * std::cos(gamma)};
    if (!isFinite(p.X, p.Y))
        return std::nullopt;
    return p;
}

std::optional<LambertPoint> sub_Lambert_Zone(const QString& sourceZone, const QString& targetZone, double X,
                                             double Y)
{
    const int i = lambertZoneIndex(sourceZone);
    const int j = lambertZoneIndex(targetZone);
    if (i == 0 || j == 0 || !isFinite(X, Y))
        return std::nullopt;
    const LambertZone& zi = kLambertZones[i];
    const LambertZone& zj = kLambertZones[j];
    const double gammaJ = (zj.n / zi.n) * std::atan2(X - zi.Xs, zi.Ys - Y);
    const double Ri = std::sqrt(std::pow(X - zi.Xs, 2) + std::pow(Y - zi.Ys, 2));
    const double L = (1 / zi.n) * std::log(zi.c / Ri);
    const double Rj = zj.c * std::exp(-zj.n * L);
    const LambertPoint p{Rj * std::sin(gammaJ) + zj.Xs, zj.Ys - Rj * std::cos(gammaJ)};
    if (!isFinite(p.X, p.Y))
        return std::nullopt;
    return p;
}

std::optional<NtfFromLambert> sub_Lambert_To_NTF(double X, double Y, const QString& zone)
{
    const QString z = zone == u"*" ? QStringLiteral("2E") : zone;
    const int index = lambertZoneIndex(z);
    if (index == 0 || !isFinite(X, Y))
        return std::nullopt;
    if (index != kIndex2e) {
        const auto p = sub_Lambert_Zone(z, QStringLiteral("2E"), X, Y);
        if (!p)
            return std::nullopt;
        X = p->X;
        Y = p->Y;
    }
    const double n = std::sin(kLambert2ePhi0);
    const double gamma = std::atan2(X - kLambert2eFalseEasting, (kLambert2eR0 + kLambert2eFalseNorthing) - Y);
    const double lr = gamma / n;
    const double G = std::log((std::pow(X - kLambert2eFalseEasting, 2) +
                               std::pow(Y - (kLambert2eR0 + kLambert2eFalseNorthing), 2)) /
                              std::pow(kLambert2eR0, 2));
    const double Eiso = std::exp(G / (2 * n) - kLambert2eL0);
    const double q = (1 - Eiso) / (1 + Eiso);
    const double s = std::sin(2 * std::atan(q));
    const double a =
        kLambertSeriesA * s - kLambertSeriesB * std::pow(s, 3) + kLambertSeriesC * std::pow(s, 5);
    const double pr = 2 * std::atan((a + q) / (1 + a * q));
    const double lambda = lr / kLambertRadiansPerGradInverse;
    const double phi = pr / kLambertRadiansPerGradInverse;
    if (!isFinite(lambda, phi))
        return std::nullopt;
    const QChar sep = decimalSeparator();
    NtfFromLambert r;
    r.lambda = fixedText(lambda, 5, sep);
    r.phi = fixedText(phi, 5, sep);
    r.lambdaValue = roundDecimals(lambda, 5);
    r.phiValue = roundDecimals(phi, 5);
    return r;
}
