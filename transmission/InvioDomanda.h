#pragma once

#include <QByteArray>
#include <QString>

namespace kx {
class Connection;
class Context;
class ProgramFolder;
} // namespace kx

/**
 * The steps of the send workflow that touch the database and the disk: the printed and sent marks of
 * an application, the copy of its transmission file into "Trasmissioni", and the upload's request.
 */

/** The subfolder of the program folder that keeps the copies of the transmission files. */
inline const QString CartellaTrasmissioni = QStringLiteral("Trasmissioni");

/** What the upload server answers when it has received the file. */
inline const QString TrasmissioneRiuscita = QStringLiteral("Trasmissione completata con successo");

/** True when the application's row says it is printed in definitive form; false without a row. */
bool TrasDoma(kx::Connection &CorsiDB, qint32 NumDoma);

/**
 * Marks the application printed in definitive form. A row that another installation deleted
 * meanwhile is error -2147217864 and nothing is written.
 */
void SegnaDomandaStampata(kx::Connection &CorsiDB, qint32 NumDoma);

/** Marks the application sent, and nothing else; the same error as above for a row deleted meanwhile. */
void SegnaDomandaTrasmessa(kx::Connection &CorsiDB, qint32 NumDoma);

/**
 * Copies the transmission file of the program folder into "Trasmissioni", made when missing, in
 * place of a copy of the same name; the file itself stays. A folder or copy that cannot be made is a
 * RoutineError. Returns the folder as the user is told it.
 */
QString CopiaInTrasmissioni(const kx::ProgramFolder &cartella, const QString &nomeFile);

/** Where the transmission file goes: the Context's address when a test or the demo set one. */
QString indirizzoUpload(kx::Context &context);

/** The upload's account as the transfer takes it, "user:password@". */
QString credenzialeUpload();

/**
 * The upload's body in Windows-1252: the file's name, a line feed, then each line of the file in the
 * program folder followed by a line feed. RoutineError 53 when the file is missing.
 */
QByteArray corpoUpload(const kx::ProgramFolder &cartella, const QString &nomeFile);
