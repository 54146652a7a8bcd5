#pragma once

#include "FixtureDatabase.h"
#include "TestContext.h"
#include "core/data/DataEnvironment.h"
#include "core/state/CourseEditorState.h"
#include "core/state/CurrentApplication.h"
#include "core/state/PrintRequest.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>

/** The program's page templates, as the program folder holds them. */
inline QString cartellaModelli()
{
    return QStringLiteral(KX_TEST_DATA "/../../resources");
}

inline void copiaModelli(const QString &cartella)
{
    for (int k = 1; k <= 5; ++k) {
        const QString nome = QStringLiteral("_JW63PELO-0%1.dat").arg(k);
        QFile::remove(QDir(cartella).filePath(nome));
        QVERIFY(QFile::copy(QDir(cartellaModelli()).filePath(nome), QDir(cartella).filePath(nome)));
    }
}

/** The standard output of a tool, or "(fallito: ...)" when it failed. */
inline QString eseguiStrumento(const QString &programma, const QStringList &argomenti)
{
    QProcess processo;
    processo.start(programma, argomenti);
    if (!processo.waitForFinished(60000) || processo.exitCode() != 0)
        return QStringLiteral("(fallito: ") + QString::fromLocal8Bit(processo.readAllStandardError()) + u')';
    return QString::fromUtf8(processo.readAllStandardOutput());
}

inline QString testoPaginaPdf(const QString &pdf, int pagina)
{
    const QString k = QString::number(pagina);
    return eseguiStrumento(QStringLiteral("pdftotext"),
                           {QStringLiteral("-f"), k, QStringLiteral("-l"), k, QStringLiteral("-layout"), pdf,
                            QStringLiteral("-")});
}

inline int paginePdf(const QString &pdf)
{
    static const QRegularExpression pagine(QStringLiteral("Pages:\\s+(\\d+)"));
    return pagine.match(eseguiStrumento(QStringLiteral("pdfinfo"), {pdf})).captured(1).toInt();
}

/**
 * Application 204 of operator B-17 in the province "099" (abbreviation XY): its legal seat 1 and the
 * local unit 2 carry courses ("0002" and "0001" at seat 1, stored in that order, "0001" at seat 2),
 * the occasional seat 1000 none. The templates are in the program folder and the database is open.
 */
struct BancoDocumento
{
    TestContext test;
    FixtureDatabase db{test.path(QStringLiteral("KX58TORVA.mdb"))};

    BancoDocumento()
    {
        using namespace Qt::StringLiterals;
        copiaModelli(test.folder());
        db.insert(u"Province"_s, {u"Prov"_s, u"SigProv"_s, u"DesProv"_s},
                  {{u"099"_s, u"XY"_s, u"Provincia"_s}});
        db.insert(u"Bacino"_s, {u"CodBacino"_s, u"Descrizione"_s}, {{5, u"Bacino Centro"_s}});
        db.insert(u"Comuni"_s, {u"CodComune"_s, u"Denominazione"_s, u"PROV"_s, u"CodBacino"_s},
                  {{u"H501"_s, u"Roma"_s, u"099"_s, 5}, {u"F205"_s, u"Milano"_s, u"099"_s, 5}});
        db.insert(u"AttEcono"_s, {u"AttEcono"_s, u"Descrizione"_s},
                  {{8542, u" Istruzione post-secondaria "_s}});
        db.insert(u"CicloFinanziario"_s, {u"CodCiclo"_s, u"Descrizione"_s},
                  {{u"CF1"_s, u"Ciclo 2021-2023"_s}});
        db.insert(u"Destin"_s, {u"CodDest"_s, u"DesDest"_s}, {{3, u"Giovani"_s}});
        db.insert(u"CorsiOper"_s, {u"GrupOpe"_s, u"Operatore"_s, u"Denominazione"_s},
                  {{u"B"_s, 17, u"  ENTE FORMAZIONE ESEMPIO  "_s}});
        db.insert(u"Domande"_s, {u"NumDoma"_s,         u"GrupOpe"_s,        u"Operatore"_s,    u"PROV"_s,
                                 u"DenominazioneOp"_s, u"CodFisc"_s,        u"PIva"_s,         u"LegNome"_s,
                                 u"LegComNasc"_s,      u"LegProvNasc"_s,    u"LegGGNasc"_s,    u"LegMMNasc"_s,
                                 u"LegAAAANasc"_s,     u"ProvCCIAA"_s,      u"CodCCIAA"_s,     u"AnnoCCIAA"_s,
                                 u"AttEcono"_s,        u"Corrispondenza"_s, u"ContDesBanca"_s, u"ContAge"_s,
                                 u"ContIndirAge"_s,    u"ContNumCC"_s,      u"ContIntCC"_s,    u"ContIBAN"_s},
                  {{204,
                    u"B"_s,
                    17,
                    u"099"_s,
                    u"Ente Formazione Esempio"_s,
                    u"RSSMRA60C05H501U"_s,
                    u"01234567890"_s,
                    u"Mario Rossi"_s,
                    u"Roma"_s,
                    u"RM"_s,
                    u"05"_s,
                    u"03"_s,
                    u"1960"_s,
                    u"RM"_s,
                    u"1234567"_s,
                    u"1999"_s,
                    8542,
                    2,
                    u"Banca Esempio"_s,
                    u"Agenzia 3"_s,
                    u"Via della Banca 1"_s,
                    u"000123456789"_s,
                    u"Ente Formazione Esempio"_s,
                    u"IT60X0542811101000000123456"_s}});
        aggiungiSede({1, u"SL"_s, u"Sede Legale Ente"_s, u"H501"_s, u"00100"_s, u"Via Roma 1"_s, u"0611111"_s,
                      u"0622222"_s, u"sede@ente.it"_s, u"Anna Bianchi"_s});
        aggiungiSede({2, u"UL"_s, u"Unita Locale Milano"_s, u"F205"_s, u"20100"_s, u"Corso Milano 2"_s,
                      u"0233333"_s, QVariant(), QVariant(), u"Luca Verdi"_s});
        aggiungiSede({1000, u"UO"_s, u"Sede Occasionale"_s, u"H501"_s, u"00100"_s, u"Via Tre 3"_s, QVariant(),
                      QVariant(), QVariant(), QVariant()});
        aggiungiCorso(1, u"0002"_s, 1000000.0);
        aggiungiCorso(1, u"0001"_s, 234567.5);
        aggiungiCorso(2, u"0001"_s, 0.0);

        kx::CurrentApplication &domanda = test.context().domanda();
        domanda.NumDomaCorrente = 204;
        domanda.GrupOpeCorrente = u"B"_s;
        domanda.OperatoreCorrente = u"17"_s;
        domanda.DenominazioneOpCorrente = u"Ente Formazione Esempio"_s;
        domanda.ProvCorrente = u"099"_s;
        test.context().impostaVersione(u"1.0.5"_s);
        test.context().stampa().TipoStampa = u"BOZZA"_s;
        test.context().DE().CorsiDB().open(db.path(), kx::Connection::Mode::Shared);
    }
    ~BancoDocumento()
    {
        if (test.context().DE().CorsiDB().isOpen())
            test.context().DE().CorsiDB().close();
    }

    /** A seat of application 204: code, type, name, municipality, postcode, address, phone, fax, e-mail,
     * contact. */
    void aggiungiSede(QVariantList valori)
    {
        using namespace Qt::StringLiterals;
        valori.insert(0, 204);
        valori.insert(2, u"B"_s);
        valori.insert(3, 17);
        db.insert(u"CorsiSediInteressate"_s,
                  {u"NumDoma"_s, u"SedeInteressata"_s, u"GrupOpe"_s, u"Operatore"_s, u"TipoCompo"_s,
                   u"Denominazione"_s, u"CodComune"_s, u"Cap"_s, u"Indirizzo"_s, u"Tel"_s, u"Fax"_s,
                   u"Email"_s, u"Riferimento"_s},
                  {valori});
    }

    /**
     * Every text at its column's full length (60 characters where the column has no bound), in words
     * of the widest capital: the most lines a value can take on its page. The courses refer to an
     * approved course with a long key.
     */
    void allungaValori()
    {
        using namespace Qt::StringLiterals;
        // Words of the widest capital: the most lines a value of that length can take.
        const auto lungo = [](int lunghezza) {
            return u"WWWWWWW "_s.repeated(lunghezza / 8 + 1).left(lunghezza);
        };
        db.execute(u"UPDATE CorsiOper SET Denominazione = ?"_s, {lungo(100)});
        db.execute(u"UPDATE AttEcono SET Descrizione = ?"_s, {lungo(60)});
        db.execute(u"UPDATE Comuni SET Denominazione = ?"_s, {lungo(60)});
        db.execute(u"UPDATE Bacino SET Descrizione = ?"_s, {lungo(60)});
        db.execute(u"UPDATE CicloFinanziario SET Descrizione = ?"_s, {lungo(60)});
        db.execute(u"UPDATE Destin SET DesDest = ?"_s, {lungo(60)});
        db.execute(
            u"UPDATE Domande SET CodFisc = ?, PIva = ?, LegNome = ?, LegComNasc = ?, ContDesBanca = ?, "
            u"ContAge = ?, ContIndirAge = ?, ContNumCC = ?, ContIntCC = ?, ContIBAN = ?"_s,
            {lungo(16), lungo(11), lungo(35), lungo(30), lungo(60), lungo(60), lungo(60), lungo(60),
             lungo(60), lungo(60)});
        db.execute(u"UPDATE CorsiSediInteressate SET Denominazione = ?, Indirizzo = ?, Tel = ?, Fax = ?, "
                   u"StatoEstero = ?, CittaEstero = ?, Email = ?, Riferimento = ?"_s,
                   {lungo(100), lungo(50), lungo(10), lungo(10), lungo(30), lungo(30), lungo(60), lungo(60)});
        db.execute(u"INSERT INTO CorsiApprovati (IdAttivita, GrupOpe, Operatore, Componente, ProgrAttivita, "
                   u"AnnoInizio, ProgrAccorp, AnnGest, DenCorso) VALUES (77, 'B', 17, 1, ?, '2020', 2, "
                   u"'2021', ?)"_s,
                   {lungo(11), lungo(200)});
        db.execute(u"UPDATE CorsiProp SET DenCorso = ?, CodQualif = ?, IdAttivita_CorsoRifB111 = 77, "
                   u"TotaleSpesa = 99999999.99, ParametroSpesa = 123456.789"_s,
                   {lungo(60), lungo(6)});
    }

    /** A course of application 204 with the fixture's values and the given total. */
    void aggiungiCorso(int sede, const QString &corso, const QVariant &totale)
    {
        using namespace Qt::StringLiterals;
        db.insert(u"CorsiProp"_s,
                  {u"NumDoma"_s,      u"SedeInteressata"_s, u"GrupOpe"_s,          u"Operatore"_s,
                   u"Corso"_s,        u"CompoResp"_s,       u"CicloFinanziario"_s, u"CodAsse"_s,
                   u"CodMisura"_s,    u"CodAzione"_s,       u"CodQualif"_s,        u"DenCorso"_s,
                   u"CodDest"_s,      u"NumAll"_s,          u"TotOreIter"_s,       u"DurataTotIter"_s,
                   u"AllieviSpesa"_s, u"OreSpesa"_s,        u"ParametroSpesa"_s,   u"TotaleSpesa"_s},
                  {{204,        sede,     u"B"_s,
                    17,         corso,    1,
                    u"CF1"_s,   u"III"_s, u"G"_s,
                    u"06.01"_s, u"Q01"_s, QString(u" Corso "_s + QString::number(sede) + u'/' + corso + u' '),
                    3,          12,       200,
                    1,          0,        200,
                    12.5,       totale}});
    }

    /** The PDF of a run of this application for the print type. */
    QString pdf(const QString &tipo) const
    {
        return test.path(QStringLiteral("KX58TORVA-B17-XY-Domanda204-") + tipo + QStringLiteral(".pdf"));
    }
    QStringList pagineTemporanee() const
    {
        return QDir(test.folder()).entryList({QStringLiteral("Pagina*.tmp")}, QDir::Files, QDir::Name);
    }
};
