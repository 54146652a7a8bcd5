#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <optional>

namespace kx {
class DataEnvironment;
} // namespace kx

/** The rules of the print dialogs SelBozza and StBozza. */

/**
 * The seats of the application that carry courses, one item of cmbCompoSt each in the order of
 * QrySediIntCorsi: the seat code with its sign blank, " - ", the first 30 characters of the seat's
 * name, " - ", its kind, " - ", its address. Database errors reach the caller.
 */
QStringList VociCompoSt(kx::DataEnvironment &de, qint32 numDoma);

/**
 * The print interval of txtIntervallo in milliseconds: the text's number of seconds rounded to the
 * nearest whole (a half to the even one), times 1000, at most 2147483647. Nothing when the text does
 * not begin with a number above 0 ("", "0", "0,4") or does not read as a number as a whole ("1,,").
 */
std::optional<qint32> IntervalloStampaDaTesto(const QString &testo);
