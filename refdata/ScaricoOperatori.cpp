#include "refdata/ScaricoOperatori.h"

#include "core/files/ProgramFolder.h"
#include "core/net/FormEncoding.h"
#include "core/text/TextRoutines.h"
#include "refdata/MasterDataLayouts.h"

#include <QDir>
#include <QFile>

using namespace Qt::StringLiterals;

namespace kx::ScaricoOperatori {

namespace {

const QString Separatore = u"      - "_s;

bool scritto(const EsitoPacchetto &esito, const QString &name)
{
    return esito.files.contains(name, Qt::CaseInsensitive);
}

/** The piece of "oper.tx1" that holds the layout's column: field k is piece 2k + 2. */
QString pezzo(const QString &record, const QString &colonna)
{
    return EstraiToken(record, u"#"_s, 2 * campoDi(TracciatoOper(), colonna)->campo + 2);
}

} // namespace

QString voceElenco(const QString &gruppo, const QString &operatore)
{
    return gruppo + Separatore + AllineaDestra(operatore, 5);
}

std::pair<QString, QString> inputDaVoce(const QString &voce)
{
    const qsizetype dash = voce.indexOf(u'-');
    if (dash < 0)
        return {voce.left(1), QString()};
    return {voce.left(dash).chopped(dash > 0 ? 1 : 0).left(1), voce.mid(dash + 2).left(5)};
}

QByteArray corpoRichiesta(const QStringList &voci)
{
    QByteArray corpo;
    for (const QString &voce : voci)
        corpo += "&g=" + formValue(voce.left(1)) + "&c=" + formValue(TestoDopoTrattino(voce));
    return corpo.mid(1);
}

bool contaFileValida(const QString &risposta)
{
    QString testo = risposta;
    QString parte = u".tx1"_s;
    return ContaOccorrenze(testo, parte, 0) == 4;
}

bool pacchettoCompleto(const EsitoPacchetto &esito)
{
    return esito.riuscito() && scritto(esito, TracciatoOper().file) &&
           scritto(esito, TracciatoCompo().file) &&
           scritto(esito, TracciatoSediOcc().file) == scritto(esito, TracciatoSediOccUtil().file);
}

void cancellaFileScritti(const ProgramFolder &folder, const EsitoPacchetto &esito)
{
    for (const QString &name : esito.files)
        QFile::remove(folder.resolve(name));
}

void cancellaFileTx1(const ProgramFolder &folder)
{
    const QDir dir(folder.path());
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden)) {
        if (name.endsWith(u".tx1", Qt::CaseInsensitive))
            QFile::remove(dir.filePath(name));
    }
}

QString EstraiToken(const QString &text, const QString &separator, int n)
{
    QString raccolto;
    int pezzi = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        raccolto += text[i];
        const bool fine = i == text.size() - 1;
        if (raccolto.endsWith(separator) || fine) {
            ++pezzi;
            if (pezzi == n || fine)
                return raccolto.chopped(1);
            raccolto.clear();
        }
    }
    return QString();
}

QString rigaConferma(const QString &record)
{
    QString numero = pezzo(record, u"Operatore"_s);
    if (numero.size() < 6)
        numero += QString(6 - numero.size(), u' ');
    return pezzo(record, u"GrupOpe"_s) + numero + u"   "_s + pezzo(record, u"CodFisc"_s) + u"   "_s +
           TroncaTesto(pezzo(record, u"Denominazione"_s), 42);
}

} // namespace kx::ScaricoOperatori
