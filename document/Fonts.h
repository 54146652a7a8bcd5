#pragma once

#include <QString>

namespace kx {

/**
 * The family that lays out a font name of the page files: "Arial" and "Times New Roman", in any case,
 * are Liberation Sans and Liberation Serif, their metric twins; any other name is kept.
 */
QString famigliaCarattere(const QString &nome);

/** The family of the check-box glyphs (U+2610, U+2612). */
inline const QString FamigliaCaselle = QStringLiteral("DejaVu Sans");

} // namespace kx
