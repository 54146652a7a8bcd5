#include "FixtureDatabase.h"
#include "TestContext.h"
#include "core/data/DataEnvironment.h"
#include "core/data/EngineErrors.h"
#include "core/state/InstallationState.h"
#include "core/state/StartupHooks.h"
#include "core/text/Cp1252.h"
#include "refdata/InstallaAnagrafiche.h"

#include <QDir>
#include <QTest>
#include <sqlite3.h>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

/** The start-up window as the installation leaves it. */
class AvvioRegistrato final : public ProgressoAvvio
{
public:
    void mostra(const QString &titolo, const QString &attesa) override { mostrato = {titolo, attesa}; }
    void file(const QString &path) override { files.append(path); }
    void tabella(const QString &name) override { tabelle.append(name); }
    void record(const QString &count) override { ultimoConteggio = count; }

    QStringList mostrato;
    QStringList files;
    QStringList tabelle;
    QString ultimoConteggio;
};

QString riga(const QStringList &fields)
{
    return u"#"_s + fields.join(u"#,#"_s) + u"#"_s;
}

QByteArray file(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += Cp1252::encode(line) + "\r\n";
    return bytes;
}

const QString OperA = riga({u"A"_s, u"12"_s, u"CENTRO FORMAZIONE ÀÉ"_s, u"01"_s, u"01234560377"_s,
                            u"01234560377"_s, u"ROSSI MARIO"_s, u"BOLOGNA"_s, u"BO"_s, u"01021960"_s, u"BO"_s,
                            u"1234567"_s, u"1990"_s, u"8042"_s});
const QString OperB = riga({u"B"_s, u"7"_s, u"ISTITUTO LAVORO"_s, u"02"_s, u"07654320401"_s, u"07654320401"_s,
                            u"BIANCHI ANNA"_s, u"FORLI'"_s, u"FC"_s, u"15061975"_s, u"FC"_s, u"7654321"_s,
                            u"2001"_s, u"8559"_s});
QString compo(const QString &gruppo, const QString &operatore, const QString &componente, const QString &tipo)
{
    return riga({gruppo, operatore, componente, tipo, u"SEDE "_s + tipo, u"037006"_s, u"40121"_s,
                 u"VIA ROMA 1"_s, u"x"_s, u"051123456"_s, u"x"_s, u"051123457"_s, QString(), QString()});
}
const QString CompoA = compo(u"A"_s, u"12"_s, u"1"_s, u"SL"_s);
const QString CompoB1 = compo(u"B"_s, u"7"_s, u"1"_s, u"UL"_s);
const QString CompoB2 = compo(u"B"_s, u"7"_s, u"2"_s, u"SL"_s);
const QString SedeOcc = riga({u"1001"_s, u"AULA MAGNA"_s, u"VIA MILANO 2"_s, u"037006"_s, u"40122"_s, u"x"_s,
                              u"051999"_s, u"x"_s, u"051998"_s});
const QString SedeUtil = riga({u"A"_s, u"12"_s, u"1"_s, u"1001"_s});

const QStringList Tabelle{u"CorsiOper"_s, u"CorsiCompo"_s, u"CorsiSediOcc"_s, u"CorsiSediOccUtil"_s};
const QStringList FileAnagrafiche{u"oper.tx1"_s, u"compo.tx1"_s, u"sediocc.tx1"_s, u"sediutil.tx1"_s};

QString messaggioFileMancanti(const QString &verbo, const QString &cartella)
{
    return u"ATTENZIONE: la base dati è incompleta. Mancano uno o più files di testo necessari (è possibile "
           u"che "
           u"si trovino ancora nella cartella temporanea dove è stato scaricato il pacchetto di "
           u"installazione da "
           u"Internet. In tal caso, "_s +
           verbo + u" da tale cartella tutti i files .TX1 nella cartella "_s + cartella + u")."_s;
}

/** A program folder with an empty registry, a download window that does what the test says. */
struct Banco
{
    TestContext test;
    FixtureDatabase db{test.path(u"KX58TORVA.mdb"_s)};
    AvvioRegistrato avvio;
    int scarichi = 0;
    int decodifiche = 0;
    QList<bool> puntatori;
    std::function<void()> scarico = [] {};

    Banco()
    {
        test.context().startupHooks().installaTabelleDecodifica = [this](ProgressoAvvio &) { ++decodifiche; };
        apri();
    }

    void apri() { test.context().DE().CorsiDB().open(db.path(), Connection::Mode::Shared); }

    /** The four files as the download leaves them; an empty text for a file that is not there. */
    void scrivi(const QStringList &oper, const QStringList &compo, const std::optional<QStringList> &sediOcc,
                const std::optional<QStringList> &sediUtil)
    {
        test.writeFile(u"oper.tx1"_s, file(oper));
        test.writeFile(u"compo.tx1"_s, file(compo));
        if (sediOcc)
            test.writeFile(u"sediocc.tx1"_s, file(*sediOcc));
        if (sediUtil)
            test.writeFile(u"sediutil.tx1"_s, file(*sediUtil));
    }

    void scriviBuoni()
    {
        scrivi({OperA, OperB}, {CompoA, CompoB1, CompoB2}, QStringList{SedeOcc}, QStringList{SedeUtil});
    }

    /** Runs the installation; true when it ended the program. */
    bool esegui()
    {
        OperazioniInstallazione operazioni;
        operazioni.mostraScarico = [this] {
            ++scarichi;
            scarico();
        };
        operazioni.puntatore = [this](bool occupato) { puntatori.append(occupato); };
        try {
            InstallaAnagrafiche(test.context(), avvio, operazioni);
        } catch (const ProgramExited &) {
            return true;
        }
        return false;
    }

    int righe(const QString &tabella) { return db.count(tabella); }
    bool vuote()
    {
        return std::all_of(Tabelle.begin(), Tabelle.end(),
                           [this](const QString &t) { return righe(t) == 0; });
    }
    bool presente(const QString &name) const { return QFileInfo::exists(test.path(name)); }
};

} // namespace

class TestInstallaAnagrafiche : public QObject
{
    Q_OBJECT

private slots:
    void aRegistryWithRowsIsLeftAlone()
    {
        Banco banco;
        banco.db.insert(u"CorsiOper"_s, {u"GrupOpe"_s, u"Operatore"_s}, {{u"A"_s, 12}});
        banco.scriviBuoni();
        banco.test.context().installazione().PrimaInstallazione = true;
        banco.test.context().installazione().InstallazioneInCorso = true;

        QVERIFY(!banco.esegui());

        QCOMPARE(banco.scarichi, 0);
        QCOMPARE(banco.decodifiche, 0);
        QVERIFY(!banco.test.context().installazione().PrimaInstallazione);
        QVERIFY(!banco.test.context().installazione().InstallazioneInCorso);
        QVERIFY(banco.avvio.mostrato.isEmpty());
        QCOMPARE(banco.righe(u"CorsiCompo"_s), 0);
        QVERIFY(banco.presente(u"oper.tx1"_s));
    }

    void installsTheFourFiles()
    {
        Banco banco;
        banco.scarico = [&banco] {
            QVERIFY(banco.test.context().installazione().InstallazioneInCorso);
            banco.scriviBuoni();
        };

        QVERIFY(!banco.esegui());

        QCOMPARE(banco.avvio.mostrato, (QStringList{u"INSTALLAZIONE"_s, u"Attendere..."_s}));
        QCOMPARE(banco.scarichi, 1);
        QCOMPARE(banco.decodifiche, 1);
        QVERIFY(banco.test.context().installazione().PrimaInstallazione);
        QVERIFY(banco.test.context().installazione().InstallazioneInCorso);
        QVERIFY(banco.puntatori.contains(true));
        QCOMPARE(banco.puntatori.last(), false);
        QCOMPARE(banco.avvio.tabelle, Tabelle);
        QCOMPARE(banco.avvio.files.value(0), banco.test.path(u"oper.tx1"_s));
        QCOMPARE(banco.avvio.ultimoConteggio, u"1"_s);

        const QueryResult oper = banco.db.query(u"SELECT GrupOpe, Operatore, Denominazione, LegGGNasc, "
                                                u"LegMMNasc, LegAAAANasc, AttEcono, Corrispondenza, "
                                                u"ContABI, ContCIN FROM CorsiOper ORDER BY GrupOpe"_s);
        QCOMPARE(oper.rows.size(), 2);
        QCOMPARE(oper.rows[0], (QVariantList{u"A"_s, 12, u"CENTRO FORMAZIONE ÀÉ"_s, u"01"_s, u"02"_s,
                                             u"1960"_s, 8042, 1, u""_s, u""_s}));
        // The correspondence goes to the legal seat, not to the first component.
        QCOMPARE(oper.rows[1].value(7), QVariant(2));
        QCOMPARE(
            banco.db.scalar(u"SELECT Email || '|' || Riferimento FROM CorsiCompo WHERE Operatore = 12"_s),
            QVariant(u"|"_s));
        QCOMPARE(banco.righe(u"CorsiCompo"_s), 3);
        QCOMPARE(
            banco.db.query(u"SELECT SedeOcc, Denominazione, Tel, Fax, TipoCompo FROM CorsiSediOcc"_s).rows,
            (QList<QVariantList>{{1001, u"AULA MAGNA"_s, u"051999"_s, u"051998"_s, u"UO"_s}}));
        QCOMPARE(
            banco.db.query(u"SELECT GrupOpe, Operatore, Componente, SedeOcc, Email FROM CorsiSediOccUtil"_s)
                .rows,
            (QList<QVariantList>{{u"A"_s, 12, 1, 1001, u""_s}}));
    }

    void theFilesGoToCarUnchanged()
    {
        Banco banco;
        banco.scriviBuoni();
        QMap<QString, QByteArray> originali;
        for (const QString &name : FileAnagrafiche)
            originali.insert(name, banco.test.readFile(name));
        QDir(banco.test.folder()).mkdir(u"Car"_s);
        banco.test.writeFile(u"Car/oper.car"_s, "an earlier installation");

        QVERIFY(!banco.esegui());

        for (const QString &name : FileAnagrafiche) {
            QVERIFY2(!banco.presente(name), qPrintable(name));
            const QString car = u"Car/"_s + QFileInfo(name).completeBaseName() + u".car"_s;
            QCOMPARE(banco.test.readFile(car), originali.value(name));
        }
    }

    void withoutOccasionalSeatsInstallsTheRest()
    {
        Banco banco;
        banco.scrivi({OperA}, {CompoA}, std::nullopt, std::nullopt);

        QVERIFY(!banco.esegui());

        QCOMPARE(banco.righe(u"CorsiOper"_s), 1);
        QCOMPARE(banco.righe(u"CorsiSediOcc"_s), 0);
        QCOMPARE(banco.avvio.tabelle, (QStringList{u"CorsiOper"_s, u"CorsiCompo"_s}));
    }

    void missingFilesEndTheProgram_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("verbo");
        QTest::newRow("nothing downloaded") << QStringList{} << u"spostare"_s;
        QTest::newRow("no compo") << QStringList{u"oper.tx1"_s} << u"spostare"_s;
        QTest::newRow("no oper") << QStringList{u"compo.tx1"_s, u"sediocc.tx1"_s, u"sediutil.tx1"_s}
                                 << u"spostare"_s;
        QTest::newRow("seats without use")
            << QStringList{u"oper.tx1"_s, u"compo.tx1"_s, u"sediocc.tx1"_s} << u"spostate"_s;
        QTest::newRow("use without seats")
            << QStringList{u"oper.tx1"_s, u"compo.tx1"_s, u"SEDIUTIL.TX1"_s} << u"spostate"_s;
    }

    void missingFilesEndTheProgram()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, verbo);
        Banco banco;
        const QMap<QString, QString> contenuti{{u"oper.tx1"_s, OperA},
                                               {u"compo.tx1"_s, CompoA},
                                               {u"sediocc.tx1"_s, SedeOcc},
                                               {u"sediutil.tx1"_s, SedeUtil}};
        for (const QString &name : files)
            banco.test.writeFile(name, file({contenuti.value(name.toLower())}));
        banco.test.prompt.expect(messaggioFileMancanti(verbo, banco.test.folder()));

        QVERIFY(banco.esegui());

        QCOMPARE(banco.test.prompt.shown().back().title, u"Installazione Base Dati"_s);
        QCOMPARE(banco.test.prompt.shown().back().icon, Prompt::Icon::Critical);
        QVERIFY(!banco.test.context().DE().CorsiDB().isOpen());
        QCOMPARE(banco.decodifiche, 0);
        QVERIFY(banco.vuote());
    }

    void aFailedLoadLeavesNothingAndTheNextStartInstalls_data()
    {
        QTest::addColumn<QStringList>("oper");
        QTest::addColumn<QStringList>("compo");
        QTest::addColumn<QStringList>("sediOcc");
        QTest::addColumn<QStringList>("sediUtil");
        QTest::addColumn<QString>("titolo");
        QTest::addColumn<QString>("messaggio");

        const QString impossibile = u"\n\rImpossibile utilizzare il programma."_s;
        const QString tipo = u"Errore  13 --> Tipo non corrispondente\n\r"_s;
        const RoutineError duplicato = engineError(SQLITE_CONSTRAINT_PRIMARYKEY, QString());
        QTest::newRow("empty oper")
            << QStringList{} << QStringList{CompoA} << QStringList{SedeOcc} << QStringList{SedeUtil}
            << u"Installazione Base Dati"_s
            << u"ATTENZIONE: non è presente alcun OPERATORE da caricare nella base dati."_s + impossibile;
        QTest::newRow("empty compo")
            << QStringList{OperA} << QStringList{} << QStringList{SedeOcc} << QStringList{SedeUtil}
            << u"Installazione Base Dati"_s
            << u"ATTENZIONE: non è presente alcun COMPONENTE da caricare nella base dati."_s + impossibile;
        QTest::newRow("blank line in oper")
            << QStringList{OperA, QString()} << QStringList{CompoA} << QStringList{SedeOcc}
            << QStringList{SedeUtil} << u"Installazione Base Dati"_s
            << tipo + u"durante il caricamento dei dati anagrafici dell' OPERATORE/I"_s;
        QTest::newRow("duplicate component")
            << QStringList{OperA} << QStringList{CompoA, CompoA} << QStringList{SedeOcc}
            << QStringList{SedeUtil} << u"Installazione Base Dati"_s
            << u"Errore -2147467259 --> "_s + duplicato.description() +
                   u"\n\rdurante il caricamento dei dati anagrafici dei COMPONENTI"_s;
        QTest::newRow("no legal seat")
            << QStringList{OperA, OperB} << QStringList{CompoA, CompoB1} << QStringList{SedeOcc}
            << QStringList{SedeUtil} << u"Installazione/Aggiornamento Base Dati"_s
            << u"Manca la sede legale dell'Operatore B - 7. Impossibile utilizzare il programma."_s;
        QTest::newRow("seats empty, use not")
            << QStringList{OperA} << QStringList{CompoA} << QStringList{} << QStringList{SedeUtil}
            << u"Installazione Base Dati"_s
            << u"ATTENZIONE: il file con i dati anagrafici delle sedi occasionali è vuoto, ma non lo è "
               u"quello con i "
               u"dati di utilizzo delle sedi stesse. La base dati è incompleta.\n\rImpossibile continuare "
               u"l'installazione."_s;
        QTest::newRow("use empty, seats not")
            << QStringList{OperA} << QStringList{CompoA} << QStringList{SedeOcc} << QStringList{}
            << u"Installazione Base Dati"_s
            << u"ATTENZIONE: il file con i dati di utilizzo delle sedi occasionali è vuoto. La base dati è "
               u"incompleta.\n\rImpossibile continuare l'installazione."_s;
        QTest::newRow("use holding a blank line")
            << QStringList{OperA} << QStringList{CompoA} << QStringList{SedeOcc} << QStringList{QString()}
            << u"Installazione Base Dati"_s
            << tipo + u"durante il caricamento dei dati di utilizzo delle SEDI OCCASIONALI"_s;
        QStringList operCorto = OperA.split(u"#,#"_s);
        operCorto.removeLast();
        QTest::newRow("an oper record with a field too few")
            << QStringList{operCorto.join(u"#,#"_s) + u"#"_s} << QStringList{CompoA} << QStringList{SedeOcc}
            << QStringList{SedeUtil} << u"Installazione Base Dati"_s
            << tipo + u"durante il caricamento dei dati anagrafici dell' OPERATORE/I"_s;
        QTest::newRow("a NUL inside a component's field")
            << QStringList{OperA} << QStringList{QString(CompoA).replace(u"VIA ROMA"_s, u"VIA\u0000ROMA"_s)}
            << QStringList{SedeOcc} << QStringList{SedeUtil} << u"Installazione Base Dati"_s
            << tipo + u"durante il caricamento dei dati anagrafici dei COMPONENTI"_s;
        QTest::newRow("seat number too large")
            << QStringList{OperA} << QStringList{CompoA}
            << QStringList{riga({u"99999999999"_s, u"AULA"_s, QString(), QString(), QString(), QString(),
                                 QString(), QString(), QString()})}
            << QStringList{SedeUtil} << u"Installazione Base Dati"_s
            << u"Errore  6 --> Overflow\n\rdurante il caricamento dei dati anagrafici delle SEDI OCCASIONALI"_s;
    }

    void aFailedLoadLeavesNothingAndTheNextStartInstalls()
    {
        QFETCH(QStringList, oper);
        QFETCH(QStringList, compo);
        QFETCH(QStringList, sediOcc);
        QFETCH(QStringList, sediUtil);
        QFETCH(QString, titolo);
        QFETCH(QString, messaggio);
        Banco banco;
        banco.scrivi(oper, compo, sediOcc, sediUtil);
        const QByteArray operOriginale = banco.test.readFile(u"oper.tx1"_s);

        banco.test.prompt.expect(messaggio);

        QVERIFY(banco.esegui());

        const ShownBox box = banco.test.prompt.shown().value(0);
        QCOMPARE(box.title, titolo);
        QCOMPARE(box.icon, Prompt::Icon::Critical);
        QVERIFY(banco.vuote());
        QCOMPARE(banco.test.readFile(u"oper.tx1"_s), operOriginale);
        QVERIFY(!QFileInfo::exists(banco.test.path(u"CAR"_s)));

        // The next start finds the registry empty and installs from the corrected files.
        if (!banco.test.context().DE().CorsiDB().isOpen())
            banco.apri();
        banco.scriviBuoni();
        QVERIFY(!banco.esegui());
        QCOMPARE(banco.righe(u"CorsiOper"_s), 2);
        QCOMPARE(banco.righe(u"CorsiCompo"_s), 3);
    }

    void anUnexpectedErrorRollsBackAndEnds()
    {
        Banco banco;
        banco.scriviBuoni();
        banco.test.context().startupHooks().installaTabelleDecodifica = [](ProgressoAvvio &) {
            throw RoutineError(ErrorCode::PermissionDenied, u"Permesso negato"_s);
        };
        banco.test.prompt.expect(
            u"Errore 70\r\nPermesso negato\r\n\r\nSi è verificato un errore imprevisto.\r\n"
            u"Riavviare l'applicativo. Se il problema dovesse persistere, contattare l'assistenza "
            u"tecnica."_s);

        QVERIFY(banco.esegui());

        QCOMPARE(banco.test.prompt.shown().back().title, u"Errore di installazione/aggiornameto"_s);
        QVERIFY(!banco.test.context().DE().CorsiDB().isOpen());
        QVERIFY(banco.vuote());
        QCOMPARE(banco.puntatori.last(), false);
    }

    void debugModeRetriesTheSeatLoadersThreeTimes_data()
    {
        QTest::addColumn<QStringList>("sediOcc");
        QTest::addColumn<QStringList>("sediUtil");
        QTest::addColumn<QString>("ripresa");
        QTest::addColumn<QString>("errore");
        const QString tipo = u"Errore  13 --> Tipo non corrispondente\n\r"_s;
        QTest::newRow("seats") << QStringList{riga({u"X"_s})} << QStringList{SedeUtil} << u"Resume"_s
                               << tipo +
                                      u"durante il caricamento dei dati anagrafici delle SEDI OCCASIONALI"_s;
        QTest::newRow("use") << QStringList{SedeOcc} << QStringList{riga({u"A"_s, u"X"_s})} << u"RESUME"_s
                             << tipo +
                                    u"durante il caricamento dei dati di utilizzo delle SEDI OCCASIONALI"_s;
    }

    void debugModeRetriesTheSeatLoadersThreeTimes()
    {
        QFETCH(QStringList, sediOcc);
        QFETCH(QStringList, sediUtil);
        QFETCH(QString, ripresa);
        QFETCH(QString, errore);
        Banco banco;
        banco.test.commandLine.args = {u"DEBUG"_s};
        banco.scrivi({OperA}, {CompoA}, sediOcc, sediUtil);
        for (int i = 0; i < 3; ++i)
            banco.test.prompt.expect(ripresa);
        banco.test.prompt.expect(errore);

        QVERIFY(banco.esegui());

        const QList<ShownBox> shown = banco.test.prompt.shown();
        QCOMPARE(shown.size(), 4);
        QCOMPARE(shown[0].icon, Prompt::Icon::None);
        QCOMPARE(shown[0].title, QString());
        QVERIFY(banco.vuote());
    }

    void countsGoBeyondSixteenBits()
    {
        Banco banco;
        QStringList usi;
        for (int componente = 1; componente <= 32768; ++componente)
            usi.append(riga({u"A"_s, u"12"_s, QString::number(componente), u"1001"_s}));
        banco.scrivi({OperA}, {CompoA}, QStringList{SedeOcc}, usi);

        QVERIFY(!banco.esegui());

        QCOMPARE(banco.righe(u"CorsiSediOccUtil"_s), 32768);
        QCOMPARE(banco.avvio.ultimoConteggio, u"32768"_s);
    }
};

QTEST_GUILESS_MAIN(TestInstallaAnagrafiche)
#include "tst_InstallaAnagrafiche.moc"
