#include "core/startup/Impostazioni.h"

#include "core/config/IniFile.h"
#include "core/files/ProgramFolder.h"
#include "core/state/Context.h"
#include "core/text/Cp1252.h"

#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;
using namespace kx;

PercorsoMostrato percorsoMostrato(const QString &path)
{
    if (path.size() < 56)
        return {path, QString()};
    return {path.left(55) + u"..."_s, path};
}

QString controllaBaseDatiScelta(const QString &testoMostrato, const QString &fileScelto)
{
    if (testoMostrato.isEmpty())
        return u"Selezionare una base dati."_s;
    if (QFileInfo(fileScelto).fileName().right(3).toUpper() != u"MDB")
        return u"Il file selezionato non è un database Microsoft Access."_s;
    if (!QFileInfo(fileScelto).isFile())
        return u"File inesistente."_s;
    return controllaPercorsoIni(fileScelto);
}

QString controllaPercorsoIni(const QString &path)
{
    QString esclusi;
    for (const QChar c : path) {
        if (!Cp1252::canEncode(QStringView(&c, 1)) && !esclusi.contains(c))
            esclusi += c;
    }
    if (esclusi.isEmpty())
        return {};
    return u"Il percorso "_s + path + u" contiene caratteri che il file "_s + NomeFileIni +
           u" non può conservare: "_s + esclusi + u"\r\n"_s +
           u"Scegliere una base dati in una cartella il cui percorso non contenga questi caratteri."_s;
}

void RinominaFileClient(const ProgramFolder &folder)
{
    const std::pair<QString, QString> renames[] = {
        {NomeFileDBPredefinito, u"KX58TORVA.cli"_s},
        {u"oper.tx1"_s, u"oper.cli"_s},
        {u"compo.tx1"_s, u"compo.cli"_s},
        {u"sediocc.tx1"_s, u"sediocc.cli"_s},
        {u"sediutil.tx1"_s, u"sediutil.cli"_s},
    };
    for (const auto &[from, to] : renames) {
        const QString source = folder.resolve(from);
        // The resolver finds the new name in any case: "KX58TORVA.CLI" takes "KX58TORVA.cli" too.
        if (!QFileInfo(source).isFile() || QFileInfo::exists(folder.resolve(to)))
            continue;
        QFile::rename(source, QFileInfo(source).path() + u'/' + to);
    }
}

void InterrompiInstallazione(const Services &services)
{
    const auto answer =
        services.prompt.ask(Prompt::Icon::Information, Prompt::Buttons::YesNo, u"Installazione"_s,
                            u"Si è sicuri di voler interrompere l'installazione?"_s);
    if (answer == Prompt::Answer::Yes)
        services.programExit.exit();
}

void AzzeraInstallazione(Context &context)
{
    clsFileINI &ini = context.fileIni();
    ini.Scrivi(IniKeys::Database, QString());
    ini.Scrivi(IniKeys::NFileDB, QString());
    ini.Scrivi(IniKeys::Tipo, QString());
}

void TerminaInutilizzabile(Context &context, const QString &cosa, const QString &causa)
{
    context.prompt.critical(u"Errore di inizializzazione"_s, u"Impossibile utilizzare "_s + cosa + u": "_s +
                                                                 causa + u"."_s + u"\r\n"_s +
                                                                 u"La procedura verrà terminata."_s);
    context.programExit.exit();
}

void ScriviImpostazione(Context &context, const IniKey &key, const QString &value)
{
    clsFileINI &ini = context.fileIni();
    if (ini.Scrivi(key, value) == 0)
        TerminaInutilizzabile(context, u"il file "_s + ini.NomeFile(), ini.causaScrittura());
}
