#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace kx {

/**
 * Makes the zip archive `archive` holding one entry, the file `source` stored deflated under
 * `entryName`. The archive is written beside its final place under a temporary name and renamed over
 * an older archive of that name only when complete, so a failure leaves the older one as it was.
 * False with the reason, in Italian, in `error`.
 */
bool zipOneFile(const QString &source, const QString &entryName, const QString &archive, QString *error);

/**
 * Extracts into `folder` the entries of `archive` that are regular files with a plain name. Entries
 * that are folders or links, and entries whose name holds a folder ("/" or "\"), is absolute or is
 * "." or "..", are never written. Returns the names written, or nothing, with the reason in `error`,
 * when the archive cannot be read (a file written in part is removed).
 */
std::optional<QStringList> extractRegularFiles(const QString &archive, const QString &folder, QString *error);

/** How the extraction of one named entry went. */
struct NamedEntryExtraction
{
    enum class Outcome
    {
        Extracted,
        /** The archive cannot be read, or holds no regular file of that name. */
        NotFound,
        /** The entry, as its header declares it, and the margin do not fit in the folder's free space. */
        NoSpace,
        /** The entry could not be read or written whole (or it holds more than it declares). */
        Failed
    };
    Outcome outcome = Outcome::NotFound;
    /** The file written, for Extracted. */
    QString path;
    /** The reason, in Italian, for Failed. */
    QString error;
};

/**
 * Extracts from `archive` into `folder` only the regular, plainly named entry called `name` (exactly,
 * else in another case), once its declared size plus `margin` has been found to fit in the folder's
 * free space. No other entry is read.
 */
NamedEntryExtraction extractNamedEntry(const QString &archive, const QString &name, const QString &folder,
                                       qint64 margin);

/** True when an entry of that name may be written into a folder: a plain, non-empty file name. */
bool isPlainEntryName(const QString &name);

} // namespace kx
