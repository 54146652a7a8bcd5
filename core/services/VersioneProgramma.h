#pragma once

#include <QString>

/** The program's version, major.minor.revision, as the build gives it. */
inline constexpr int VersioneMaggiore = KX_VERSION_MAJOR;
inline constexpr int VersioneMinore = KX_VERSION_MINOR;
inline constexpr int VersioneRevisione = KX_VERSION_PATCH;

/** "1.0.0": the numbers without leading zeros, joined by ".". */
inline QString versioneProgramma()
{
    return QString::number(VersioneMaggiore) + u'.' + QString::number(VersioneMinore) + u'.' +
           QString::number(VersioneRevisione);
}
