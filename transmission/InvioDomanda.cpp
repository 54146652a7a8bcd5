#include "transmission/InvioDomanda.h"

#include "core/data/Connection.h"
#include "core/files/ProgramFolder.h"
#include "core/files/TextRecords.h"
#include "core/services/RoutineError.h"
#include "core/state/Context.h"
#include "core/state/Trasmissione.h"
#include "core/text/Cp1252.h"
#include "core/text/TextFile.h"
#include "transmission/IndirizziFissi.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

/** Sets one flag of the application's row; a row gone meanwhile is reported, not ignored. */
void segna(Connection &CorsiDB, const QString &colonna, qint32 NumDoma)
{
    if (CorsiDB.execute(u"UPDATE Domande SET "_s + colonna + u" = 1 WHERE NumDoma = ?"_s, {NumDoma}) != 1)
        throw RoutineError(ErrorCode::RowDeletedMeanwhile);
}

} // namespace

bool TrasDoma(Connection &CorsiDB, qint32 NumDoma)
{
    const QVariant stampata =
        CorsiDB.scalar(u"SELECT DomandaStampata FROM Domande WHERE NumDoma = ?"_s, {NumDoma});
    return stampata.isValid() && !stampata.isNull() && stampata.toInt() != 0;
}

void SegnaDomandaStampata(Connection &CorsiDB, qint32 NumDoma)
{
    segna(CorsiDB, u"DomandaStampata"_s, NumDoma);
}

void SegnaDomandaTrasmessa(Connection &CorsiDB, qint32 NumDoma)
{
    segna(CorsiDB, u"DomandaTrasmessa"_s, NumDoma);
}

QString CopiaInTrasmissioni(const ProgramFolder &cartella, const QString &nomeFile)
{
    const QString sottocartella = cartella.resolve(CartellaTrasmissioni);
    if (!QFileInfo(sottocartella).isDir() && !QDir().mkpath(sottocartella))
        throw RoutineError(ErrorCode::PathFileAccessError);
    QFile file(cartella.resolve(nomeFile));
    if (!file.open(QIODevice::ReadOnly))
        throw RoutineError(file.exists() ? ErrorCode::PermissionDenied : ErrorCode::FileNotFound);
    TextFile::replaceFiles({{resolvePath(sottocartella, nomeFile), file.readAll()}});
    return QDir::toNativeSeparators(sottocartella);
}

QString indirizzoUpload(Context &context)
{
    const QString indirizzo = context.trasmissione().IndirizzoUpload;
    return indirizzo.isEmpty() ? IndirizzoUploadFisso : indirizzo;
}

QString credenzialeUpload()
{
    return UtenteUpload + u':' + PasswordUpload + u'@';
}

QByteArray corpoUpload(const ProgramFolder &cartella, const QString &nomeFile)
{
    return Cp1252::encode(LeggiFileTesto(cartella, nomeFile));
}
