#pragma once

#include <QString>

/** The INI file of the installation, in the program folder. */
inline const QString NomeFileIni = QStringLiteral("KX58TORVA.INI");
/** The database a new installation starts from, in the program folder. */
inline const QString NomeFileDBPredefinito = QStringLiteral("KX58TORVA.mdb");

namespace kx {

/**
 * The program folder and the one way a file name becomes a path. Names written the Windows way keep
 * working: "\" and "/" both separate, and an existing file or folder is found whatever the case of
 * its name ("Car" and "CAR" are one folder).
 */
class ProgramFolder
{
public:
    explicit ProgramFolder(const QString &path);

    /** The folder's absolute path, without a trailing separator. */
    const QString &path() const { return m_path; }

    /** A name relative to the program folder, or an absolute path, resolved as described above. */
    QString resolve(const QString &name) const;

private:
    QString m_path;
};

/** An absolute path, or one relative to `base`, with each existing part found without regard to case. */
QString resolvePath(const QString &base, const QString &name);

/**
 * Whether a piece of data (a province, a group letter, an operator number) may stand in a file name
 * of the program folder: false when it holds "/", "\", "..", ":" or a control character, by which a
 * name could leave the folder or mean something else than it reads.
 */
bool isPlainNamePart(QStringView part);

} // namespace kx
