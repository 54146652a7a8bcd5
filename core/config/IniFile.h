#pragma once

#include "core/config/IniKeys.h"

#include <QString>

namespace kx {
class ProgramFolder;
} // namespace kx

/**
 * The INI file of the installation, read and written with the Windows profile rules: sections and
 * keys found without regard to case, a missing key gives the default, a write changes one value in
 * place and keeps every other byte of the file. The file is Windows-1252 with CR LF.
 *
 * The section is a member: each caller sets it before reading or writing, and it carries over to
 * the next caller.
 */
class clsFileINI
{
public:
    explicit clsFileINI(const kx::ProgramFolder &programFolder);

    const QString &NomeFile() const { return m_nomeFile; }
    /** A name without "." gets ".ini"; a name without a folder gets the program folder in front. */
    void setNomeFile(const QString &value);

    const QString &Sezione() const { return m_sezione; }
    void setSezione(const QString &value) { m_sezione = value; }

    /** Writes the value of the key in the current section; non-zero when the file was written. */
    int Scrivi(const QString &key, const QString &value);
    /** Why the last write failed, in Italian; empty after a write that succeeded. */
    const QString &causaScrittura() const { return m_causaScrittura; }
    /** The whole value of the key in the current section, or the default when it is absent. */
    QString Leggi(const QString &key, const QString &defaultValue) const;

    /** True when the file has a section of that name (any case). */
    bool haSezione(const QString &section) const;

    /** Sets the key's section, then writes the value as Scrivi does. */
    int Scrivi(const kx::IniKey &key, const QString &value);
    /** Sets the key's section, then reads the value as Leggi does; the default for a missing key. */
    QString Leggi(const kx::IniKey &key, const QString &defaultValue = QString());

private:
    QString path() const;

    const kx::ProgramFolder &m_programFolder;
    QString m_nomeFile;
    QString m_sezione;
    QString m_causaScrittura;
};

/**
 * The number (from 1) of the first line of an INI file that was saved in UTF-8 rather than in
 * Windows-1252: a byte-order mark, or a line whose bytes past ASCII all read as UTF-8. 0 when none.
 */
int rigaInUtf8(const QByteArray &bytes);
