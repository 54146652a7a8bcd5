#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <memory>
#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray schemaText()
{
    QFile file(QString::fromUtf8(KX_TEST_DATA "/../../resources/schema.sql"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

/** A list of names written as one text, blank-separated. */
QStringList names(const char *list)
{
    return QString::fromUtf8(list).split(u' ', Qt::SkipEmptyParts);
}

/** One column of a result set: its name and, for a plain column, the table column it comes from. */
struct ResultColumn
{
    QString name;
    QString table;
    QString origin;
};

/** An in-memory database with foreign keys enforced, closed when it goes out of scope. */
class Database
{
public:
    Database()
    {
        sqlite3_open(":memory:", &m_db);
        execute("PRAGMA foreign_keys=ON");
    }
    ~Database() { sqlite3_close(m_db); }
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    /** Runs one or more statements; returns the engine's message on failure, an empty text on success. */
    QString execute(const QByteArray &sql)
    {
        char *message = nullptr;
        if (sqlite3_exec(m_db, sql.constData(), nullptr, nullptr, &message) == SQLITE_OK)
            return {};
        const QString text = QString::fromUtf8(message ? message : "error");
        sqlite3_free(message);
        return text;
    }

    /** Runs one statement with its parameters bound in order; returns the result code. */
    int run(const QByteArray &sql, const QVariantList &params = {})
    {
        sqlite3_stmt *stmt = prepare(sql, params);
        if (!stmt)
            return SQLITE_ERROR;
        int rc = sqlite3_step(stmt);
        while (rc == SQLITE_ROW)
            rc = sqlite3_step(stmt);
        sqlite3_finalize(stmt);
        return rc == SQLITE_DONE ? SQLITE_OK : rc;
    }

    /** The first column of the first row as text; a null text for Null or no row. */
    QString value(const QByteArray &sql, const QVariantList &params = {})
    {
        QString result;
        sqlite3_stmt *stmt = prepare(sql, params);
        if (stmt && sqlite3_step(stmt) == SQLITE_ROW && sqlite3_column_type(stmt, 0) != SQLITE_NULL)
            result = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)));
        sqlite3_finalize(stmt);
        return result;
    }

    int count(const QByteArray &sql, const QVariantList &params = {}) { return value(sql, params).toInt(); }

    /** The columns of a statement's result, with their origin when the engine knows it. */
    QList<ResultColumn> columns(const QByteArray &sql)
    {
        QList<ResultColumn> result;
        sqlite3_stmt *stmt = prepare(sql, {});
        if (!stmt)
            return result;
        for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
            const auto text = [](const char *s) { return s ? QString::fromUtf8(s) : QString(); };
            result.append({text(sqlite3_column_name(stmt, i)), text(sqlite3_column_table_name(stmt, i)),
                           text(sqlite3_column_origin_name(stmt, i))});
        }
        sqlite3_finalize(stmt);
        return result;
    }

    QStringList columnNames(const QString &table)
    {
        QStringList names;
        for (const ResultColumn &column : columns("SELECT * FROM " + table.toUtf8()))
            names.append(column.name);
        return names;
    }

    /** The primary key columns of a table, in key order. */
    QStringList primaryKey(const QString &table)
    {
        // Columns of table_info: cid, name, type, notnull, dflt_value, pk (position in the key).
        QMap<int, QString> byPosition;
        sqlite3_stmt *stmt = prepare("PRAGMA table_info(\"" + table.toUtf8() + "\")", {});
        while (stmt && sqlite3_step(stmt) == SQLITE_ROW) {
            if (const int position = sqlite3_column_int(stmt, 5); position > 0)
                byPosition.insert(position, QString::fromUtf8(reinterpret_cast<const char *>(
                                                sqlite3_column_text(stmt, 1))));
        }
        sqlite3_finalize(stmt);
        return byPosition.values();
    }

    QString declaredType(const QString &table, const QString &column)
    {
        return metadata(table, column).first;
    }
    QString collation(const QString &table, const QString &column) { return metadata(table, column).second; }

    QStringList objects(const char *type)
    {
        QStringList names;
        sqlite3_stmt *stmt =
            prepare("SELECT name FROM sqlite_master WHERE type = ? AND name NOT LIKE 'sqlite%' ORDER BY name",
                    {QString::fromUtf8(type)});
        while (stmt && sqlite3_step(stmt) == SQLITE_ROW)
            names.append(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0))));
        sqlite3_finalize(stmt);
        return names;
    }

    sqlite3 *handle() const { return m_db; }

private:
    /** Declared type and collating sequence of a table column. */
    std::pair<QString, QString> metadata(const QString &table, const QString &column)
    {
        const char *type = nullptr;
        const char *collation = nullptr;
        sqlite3_table_column_metadata(m_db, nullptr, table.toUtf8().constData(), column.toUtf8().constData(),
                                      &type, &collation, nullptr, nullptr, nullptr);
        return {QString::fromUtf8(type ? type : ""), QString::fromUtf8(collation ? collation : "")};
    }

    sqlite3_stmt *prepare(const QByteArray &sql, const QVariantList &params)
    {
        sqlite3_stmt *stmt = nullptr;
        if (sqlite3_prepare_v2(m_db, sql.constData(), int(sql.size()), &stmt, nullptr) != SQLITE_OK) {
            qWarning("%s: %s", sql.constData(), sqlite3_errmsg(m_db));
            return nullptr;
        }
        for (int i = 0; i < params.size(); ++i) {
            const QVariant &param = params.at(i);
            if (param.isNull())
                sqlite3_bind_null(stmt, i + 1);
            else if (param.typeId() == QMetaType::Int || param.typeId() == QMetaType::LongLong)
                sqlite3_bind_int64(stmt, i + 1, param.toLongLong());
            else if (param.typeId() == QMetaType::Double)
                sqlite3_bind_double(stmt, i + 1, param.toDouble());
            else
                sqlite3_bind_text(stmt, i + 1, param.toString().toUtf8().constData(), -1, SQLITE_TRANSIENT);
        }
        return stmt;
    }

    sqlite3 *m_db = nullptr;
};

/** Three applications: 100 with courses at a component and at an occasional seat, 101 without
 *  courses, 102 of another operator whose legal seat is abroad, with a course referring to an
 *  approved course. Occasional seat 1001 is used by two components of operator A 1. */
const char *const fixture = R"(
INSERT INTO Province VALUES ('000', 'XX', 'SUPER-PROVINCIA', '00'), ('001', 'AA', 'PROVINCIA UNO', '01');
INSERT INTO Bacino VALUES (1, 'BACINO NORD', NULL, NULL);
INSERT INTO Comuni VALUES ('A001', 'COMUNE UNO', '001', '10100', 1, 'X001', NULL),
                          ('A002', 'COMUNE DUE', '001', '10200', NULL, 'X002', NULL);
INSERT INTO TipoCompo VALUES ('SL', 'SEDE LEGALE'), ('UL', 'UNITA'' LOCALE'), ('UO', 'SEDE OCCASIONALE');
INSERT INTO TipoOper VALUES ('A', '01', 'ENTE DI FORMAZIONE');
INSERT INTO AttEcono VALUES (85, 'ISTRUZIONE');
INSERT INTO CicloFinanziario VALUES ('2021', 'CICLO 2021');
INSERT INTO Asse VALUES ('III', 'ASSE TERZO');
INSERT INTO Misura VALUES ('III', 'G', 'MISURA G');
INSERT INTO Azione VALUES ('III', 'G', '06.01', 'AZIONE SEI');
INSERT INTO Destin VALUES (1, 'DISOCCUPATI');
INSERT INTO CorsiOper (GrupOpe, Operatore, Denominazione, TipoOper, AttEcono, Corrispondenza)
    VALUES ('A', 1, 'ENTE UNO', '01', 85, 1), ('A', 2, 'ENTE DUE', '01', 85, 1);
INSERT INTO CorsiCompo (GrupOpe, Operatore, Componente, TipoCompo, Denominazione, CodComune, Cap, Indirizzo, StatoEstero)
    VALUES ('A', 1, 1, 'SL', 'SEDE LEGALE UNO', 'A001', '10100', 'VIA UNO', ''),
           ('A', 1, 2, 'UL', 'SEDE DUE', 'A002', '10200', 'VIA DUE', ''),
           ('A', 2, 1, 'SL', 'SEDE ESTERA', NULL, NULL, NULL, 'FRANCIA');
INSERT INTO CorsiSediOcc (SedeOcc, Denominazione, Indirizzo, CodComune, Cap)
    VALUES (1001, 'AULA ESTERNA', 'VIA TRE', 'A001', '10100');
INSERT INTO CorsiSediOccUtil (GrupOpe, Operatore, Componente, SedeOcc) VALUES ('A', 1, 1, 1001), ('A', 1, 2, 1001);
INSERT INTO Domande (NumDoma, GrupOpe, Operatore, PROV, Domanda, DenominazioneOp, TipoOper, AttEcono, Corrispondenza)
    VALUES (100, 'A', 1, '000', 1, 'ENTE UNO', '01', 85, 1),
           (101, 'A', 1, '000', 2, 'ENTE UNO', '01', 85, 2),
           (102, 'A', 2, '000', 1, 'ENTE DUE', '01', 85, 1);
INSERT INTO CorsiSediInteressate (NumDoma, SedeInteressata, GrupOpe, Operatore, TipoCompo, Denominazione, CodComune, Cap, Indirizzo, StatoEstero)
    VALUES (100, 1, 'A', 1, 'SL', 'SEDE LEGALE UNO', 'A001', '10100', 'VIA UNO', ''),
           (100, 2, 'A', 1, 'UL', 'SEDE DUE', 'A002', '10200', 'VIA DUE', ''),
           (100, 1001, 'A', 1, 'UO', 'AULA ESTERNA', 'A001', '10100', 'VIA TRE', ''),
           (101, 1, 'A', 1, 'SL', 'SEDE LEGALE UNO', 'A001', '10100', 'VIA UNO', ''),
           (101, 2, 'A', 1, 'UL', 'SEDE DUE', 'A002', '10200', 'VIA DUE', ''),
           (102, 1, 'A', 2, 'SL', 'SEDE ESTERA', NULL, NULL, NULL, 'FRANCIA');
INSERT INTO CorsiApprovati (IdAttivita, GrupOpe, Operatore, ProgrAttivita, Componente, SedeOcca, DenCorso, CicloFin)
    VALUES (5000, 'A', 1, 'P1', 1, 1001, 'CORSO APPROVATO', '2021'),
           (5001, 'A', 2, 'P2', 1, NULL, 'ALTRO APPROVATO', '2021');
INSERT INTO CorsiProp (NumDoma, SedeInteressata, GrupOpe, Operatore, Corso, CompoResp, CicloFinanziario, CodAsse, CodMisura, CodAzione,
                       DenCorso, CodDest, NumAll, TotOreIter, DurataTotIter, IdAttivita_CorsoRifB111, TotaleSpesa)
    VALUES (100, 1, 'A', 1, '0001', NULL, '2021', 'III', 'G', '06.01', 'CORSO UNO', 1, 10, 100, 1, 5000, 1000.5),
           (100, 1001, 'A', 1, '0001', 2, '2021', 'III', 'G', '06.01', 'CORSO DUE', 1, 3, 50, 1, NULL, 500),
           (102, 1, 'A', 2, '0001', NULL, '2021', 'III', 'G', '06.01', 'CORSO TRE', 1, 12, 80, 1, 5001, 800);
INSERT INTO CorsiPropSpese (NumDoma, SedeInteressata, Corso, ProgrAnno) VALUES (100, 1, '0001', 1), (100, 1, '0001', 2);
)";

} // namespace

class TestSchema : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        m_schema = schemaText();
        QVERIFY2(!m_schema.isEmpty(), "resources/schema.sql not found");
    }

    void init()
    {
        m_db = std::make_unique<Database>();
        const QString error = m_db->execute(m_schema);
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }

    void cleanup() { m_db.reset(); }

    // Every statement ends with ";" at a line end, so the file can also be run one statement at a time.
    void everyStatementRunsAlone()
    {
        Database db;
        const QStringList statements =
            QString::fromUtf8(m_schema).split(QRegularExpression(u";[ \\t]*\\r?\\n"_s), Qt::SkipEmptyParts);
        int created = 0;
        for (const QString &statement : statements) {
            const QByteArray sql = statement.toUtf8();
            const char *tail = nullptr;
            sqlite3_stmt *stmt = nullptr;
            QVERIFY2(sqlite3_prepare_v2(db.handle(), sql.constData(), int(sql.size()), &stmt, &tail) ==
                         SQLITE_OK,
                     qPrintable(statement + u": "_s + QString::fromUtf8(sqlite3_errmsg(db.handle()))));
            if (!stmt) // comments only
                continue;
            QVERIFY2(QByteArray(tail).trimmed().isEmpty(), qPrintable(u"two statements in: "_s + statement));
            QCOMPARE(sqlite3_step(stmt), SQLITE_DONE);
            sqlite3_finalize(stmt);
            ++created;
        }
        QCOMPARE(created,
                 db.objects("table").size() + db.objects("view").size() + db.objects("index").size());
    }

    void holdsEveryCommandsTableAndView()
    {
        const QStringList views =
            names("QryCompo QryComuniProv QryCorsi QryCorsiApprovati QryCorsiPropSpese QryDomande "
                  "QryDomandeSedLeg QryOper QrySediIntCorsi QrySediInteressate QrySediOccUtil");
        // Istituti, CicloFinanziario and Qualifi have no command: SQL text reads them.
        QStringList tables =
            names("Asse AttEcono Azione AzioneDestin Bacino Certif Comuni Comuni_Quartieri "
                  "CorsiCompo CorsiOper CorsiProp CorsiSediOcc CorsiSediOccUtil Destin Domande "
                  "Misura Province ProvinceLoghiIndir Regioni StatiEsteri TipoCompo TipoOper "
                  "CorsiSediInteressate AzioneDenomCorso AzionePercorsi CentroCosto "
                  "CentroCostoSpesa CorsiApprovati MassimaliPar Percorsi Prov_Asse Prov_Misura "
                  "Prov_Azione CorsiPropSpese Istituti CicloFinanziario Qualifi");
        QCOMPARE(tables.size() + views.size(), 45 + 3);
        tables.sort();
        QStringList sortedViews = views;
        sortedViews.sort();
        QCOMPARE(m_db->objects("table"), tables);
        QCOMPARE(m_db->objects("view"), sortedViews);
    }

    void keysAndColumnCounts_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QStringList>("key");
        QTest::addColumn<int>("columns"); // -1: not fixed

        QTest::newRow("Domande") << u"Domande"_s << QStringList{u"NumDoma"_s} << -1;
        QTest::newRow("CorsiOper") << u"CorsiOper"_s << QStringList{u"GrupOpe"_s, u"Operatore"_s} << 26;
        QTest::newRow("CorsiCompo") << u"CorsiCompo"_s
                                    << QStringList{u"GrupOpe"_s, u"Operatore"_s, u"Componente"_s} << 14;
        QTest::newRow("CorsiSediOcc") << u"CorsiSediOcc"_s << QStringList{u"SedeOcc"_s} << 10;
        QTest::newRow("CorsiSediOccUtil")
            << u"CorsiSediOccUtil"_s
            << QStringList{u"GrupOpe"_s, u"Operatore"_s, u"Componente"_s, u"SedeOcc"_s} << 6;
        QTest::newRow("CorsiSediInteressate")
            << u"CorsiSediInteressate"_s << QStringList{u"NumDoma"_s, u"SedeInteressata"_s} << 15;
        QTest::newRow("CorsiProp") << u"CorsiProp"_s
                                   << QStringList{u"NumDoma"_s, u"SedeInteressata"_s, u"Corso"_s} << -1;
        QTest::newRow("CorsiPropSpese")
            << u"CorsiPropSpese"_s
            << QStringList{u"NumDoma"_s, u"SedeInteressata"_s, u"Corso"_s, u"ProgrAnno"_s} << -1;
        QTest::newRow("CorsiApprovati") << u"CorsiApprovati"_s << QStringList{u"IdAttivita"_s} << 43;

        // Decode tables: the loaders write that many leading columns and find rows by the key.
        const QStringList action = {u"CodAsse"_s, u"CodMisura"_s, u"CodAzione"_s};
        QTest::newRow("Asse") << u"Asse"_s << QStringList{u"CodAsse"_s} << 2;
        QTest::newRow("Misura") << u"Misura"_s << QStringList{u"CodAsse"_s, u"CodMisura"_s} << 3;
        QTest::newRow("Azione") << u"Azione"_s << action << 4;
        QTest::newRow("Percorsi") << u"Percorsi"_s << QStringList{u"CodPerc"_s} << 3;
        QTest::newRow("AzioneDenomCorso")
            << u"AzioneDenomCorso"_s << action + QStringList{u"CodDenom"_s} << 5;
        QTest::newRow("AzionePercorsi") << u"AzionePercorsi"_s << action + QStringList{u"CodPerc"_s} << 4;
        QTest::newRow("AttEcono") << u"AttEcono"_s << QStringList{u"AttEcono"_s} << 2;
        QTest::newRow("Destin") << u"Destin"_s << QStringList{u"CodDest"_s} << 2;
        QTest::newRow("AzioneDestin") << u"AzioneDestin"_s << action + QStringList{u"CodDest"_s} << 4;
        QTest::newRow("Bacino") << u"Bacino"_s << QStringList{u"CodBacino"_s} << 4;
        QTest::newRow("Certif") << u"Certif"_s << QStringList{u"CodCert"_s} << 2;
        QTest::newRow("Comuni") << u"Comuni"_s << QStringList{u"CodComune"_s} << 7;
        QTest::newRow("Comuni_Quartieri")
            << u"Comuni_Quartieri"_s << QStringList{u"ComIstat"_s, u"Cod_Quartiere"_s} << 3;
        QTest::newRow("Istituti") << u"Istituti"_s << QStringList{u"CodIsti"_s} << 2;
        QTest::newRow("Regioni") << u"Regioni"_s << QStringList{u"Regione"_s} << 2;
        QTest::newRow("Province") << u"Province"_s << QStringList{u"Prov"_s} << 4;
        QTest::newRow("Prov_Asse") << u"Prov_Asse"_s << QStringList{u"Prov"_s, u"CodAsse"_s} << 2;
        QTest::newRow("Prov_Misura") << u"Prov_Misura"_s
                                     << QStringList{u"Prov"_s, u"CodAsse"_s, u"CodMisura"_s} << 3;
        QTest::newRow("Prov_Azione") << u"Prov_Azione"_s << QStringList{u"Prov"_s} + action << 4;
        QTest::newRow("ProvinceLoghiIndir") << u"ProvinceLoghiIndir"_s << QStringList{u"Prov"_s} << 7;
        QTest::newRow("StatiEsteri") << u"StatiEsteri"_s << QStringList{u"CodStato"_s} << 3;
        QTest::newRow("TipoCompo") << u"TipoCompo"_s << QStringList{u"TipoCompo"_s} << 2;
        QTest::newRow("TipoOper") << u"TipoOper"_s << QStringList{u"GrupOpe"_s, u"TipoOper"_s} << 3;
        QTest::newRow("MassimaliPar") << u"MassimaliPar"_s << QStringList{} << 14;
        QTest::newRow("CentroCostoSpesa")
            << u"CentroCostoSpesa"_s << QStringList{u"CodCentro"_s, u"CodSpesa"_s} << 3;
        QTest::newRow("CentroCosto") << u"CentroCosto"_s << QStringList{u"CodCentro"_s} << -1;
        QTest::newRow("CicloFinanziario") << u"CicloFinanziario"_s << QStringList{u"CodCiclo"_s} << -1;
        QTest::newRow("Qualifi") << u"Qualifi"_s << QStringList{u"CodQualif"_s} << -1;
    }

    void keysAndColumnCounts()
    {
        QFETCH(QString, table);
        QFETCH(QStringList, key);
        QFETCH(int, columns);

        QCOMPARE(m_db->primaryKey(table), key);
        const QStringList names = m_db->columnNames(table);
        if (columns >= 0)
            QCOMPARE(names.size(), columns);
        if (!table.startsWith(u"Corsi"_s)) // decode loaders find a row by its leading fields
            QCOMPARE(names.mid(0, key.size()), key);
    }

    // A new application copies CorsiOper column p into Domande column p + 3, p = 2 .. n - 2.
    void newApplicationMirrorsTheOperatorRegistry()
    {
        const QStringList oper = m_db->columnNames(u"CorsiOper"_s);
        const QStringList domande = m_db->columnNames(u"Domande"_s);
        const qsizetype n = oper.size();
        QVERIFY(domande.size() >= n + 2);

        for (qsizetype p = 2; p <= n - 2; ++p) {
            const QString expected = oper[p] == u"Denominazione"_s ? u"DenominazioneOp"_s : oper[p];
            QCOMPARE(domande[p + 3], expected);
            QCOMPARE(m_db->declaredType(u"Domande"_s, domande[p + 3]),
                     m_db->declaredType(u"CorsiOper"_s, oper[p]));
        }
        // The IBAN reaches a new application with the rest of the operator's data.
        QVERIFY(oper.indexOf(u"ContIBAN"_s) <= n - 2);

        const QStringList setByName =
            names("NumDoma GrupOpe Operatore PROV Domanda DomPrece GGPrece MMPrece AAAAPrece "
                  "DomPROV Direttiva AnnoDirettiva DomandaStampata DomandaTrasmessa");
        for (const QString &column : setByName) {
            const qsizetype position = domande.indexOf(column);
            QVERIFY2(position >= 0, qPrintable(column));
            QVERIFY2(position < 5 || position > n + 1, qPrintable(column + u" lies in the copied range"_s));
        }
    }

    void approvedCoursesFollowTheFileOrder()
    {
        const QStringList fileOrder =
            names("IdAttivita IdCorsoPrincipale GrupOpe Operatore ProgrAttivita AnnoInizio "
                  "ProgrAccorp CodDiret AnnGest Componente SedeOcca CodQualif DenCorso "
                  "CodObiettiv_Rif CodObiet CodAsse CodSubAsse LineaIntervento CodScol CodSetto "
                  "AnnoSetto CodComp AnnoComp CodPerc CodOra CodCert DurataAnnOre NumAll TotIter "
                  "Durata Stato TipoConv NumConv Conv_PT_IpAddress Conv_NumPratica NumPratica "
                  "ProvviProgAtt ProvviProgAcc Dom_NumPratica Dom_ChiaveUtente StatoAvanzamento "
                  "PROV CicloFin");
        QCOMPARE(m_db->columnNames(u"CorsiApprovati"_s), fileOrder);
    }

    // The reference-course picker copies its choice from the grid's columns by position.
    void approvedCoursesViewFollowsThePickersGridOrder()
    {
        const QStringList gridOrder = names(
            "IdAttivita IdCorsoPrincipale GrupOpe Operatore ProgrAttivita AnnoInizio ProgrAccorp CodDiret "
            "AnnGest DenCorso Componente CorsiCompo.Denominazione QryCompo.TipoCompo Descrizione "
            "QryCompo.CodComune QryCompo.QryComuniProv.Denominazione QryCompo.SIGPROV QryCompo.Cap "
            "QryCompo.Indirizzo SedeOcca CorsiSediOcc.Denominazione QrySediOccUtil.TipoCompo "
            "QrySediOccUtil.CodComune QrySediOccUtil.QryComuniProv.Denominazione QrySediOccUtil.SIGPROV "
            "QrySediOccUtil.Cap QrySediOccUtil.Indirizzo CodQualif CodObiettiv_Rif CodObiet CodAsse "
            "CodSubAsse LineaIntervento CodScol CodSetto AnnoSetto CodComp AnnoComp CodPerc CodOra CodCert "
            "DurataAnnOre NumAll TotIter Durata Stato NumConv Conv_PT_IpAddress Conv_NumPratica NumPratica "
            "ProvviProgAtt ProvviProgAcc Dom_NumPratica Dom_ChiaveUtente StatoAvanzamento PROV TipoConv "
            "CicloFin");
        QCOMPARE(gridOrder.size(), 57 + 1);
        QCOMPARE(m_db->columnNames(u"QryCorsiApprovati"_s), gridOrder);
    }

    // The old engine compared text without regard to case, and filters and keys rely on it.
    void textColumnsIgnoreCase()
    {
        for (const QString &table : m_db->objects("table")) {
            for (const QString &column : m_db->columnNames(table)) {
                if (m_db->declaredType(table, column) == u"TEXT"_s)
                    QVERIFY2(m_db->collation(table, column).compare(u"NOCASE"_s, Qt::CaseInsensitive) == 0,
                             qPrintable(table + u'.' + column));
            }
        }
        QVERIFY(m_db->execute(fixture).isEmpty());
        QCOMPARE(m_db->count("SELECT COUNT(*) FROM Domande WHERE GrupOpe = 'a'"), 3);
        QCOMPARE(m_db->count("SELECT COUNT(*) FROM QrySediInteressate WHERE TipoCompo = 'sl'"), 3);
    }

    // A row added without its key is refused, never given a number of the engine's own.
    void keyedTablesRefuseARowWithoutKey()
    {
        for (const QString &table : m_db->objects("table")) {
            const int rc = m_db->run("INSERT INTO " + table.toUtf8() + " DEFAULT VALUES");
            if (m_db->primaryKey(table).isEmpty())
                QCOMPARE(rc, SQLITE_OK);
            else
                QVERIFY2(rc == SQLITE_CONSTRAINT, qPrintable(table));
        }
    }

    void viewColumns_data()
    {
        QTest::addColumn<QString>("view");
        QTest::addColumn<QStringList>("read");

        QTest::newRow("QryDomande")
            << u"QryDomande"_s
            << names("NumDoma GrupOpe Operatore PROV Domanda DenominazioneOp TipoOper CodFisc PIva "
                     "LegNome LegComNasc LegProvNasc LegGGNasc LegMMNasc LegAAAANasc ProvCCIAA "
                     "CodCCIAA AnnoCCIAA AttEcono Corrispondenza ContDesBanca ContAge ContIndirAge "
                     "ContNumCC ContIntCC ContIBAN DomPrece GGPrece MMPrece AAAAPrece DomProv "
                     "Direttiva AnnoDirettiva DomandaStampata DomandaTrasmessa "
                     "QryDomande.TipoOper.Descrizione QryDomande.AttEcono.Descrizione Denominazione "
                     "TipoCompo QryCompo.Indirizzo");
        QTest::newRow("QryDomandeSedLeg")
            << u"QryDomandeSedLeg"_s
            << names("NumDoma GrupOpe Operatore SEDEINTERESSATA Componente CorsiOper.Denominazione "
                     "CodComune QryComuniProv.Denominazione SigProv Cap Indirizzo Tel Fax StatoEstero "
                     "CittaEstero Riferimento Email ProvCCIAA CodCCIAA AnnoCCIAA AttEcono "
                     "QryDomandeSedLeg.AttEcono.Descrizione");
        QTest::newRow("QrySediInteressate")
            << u"QrySediInteressate"_s
            << names("NumDoma SedeInteressata GrupOpe Operatore TipoCompo "
                     "QrySediInteressate.TipoCompo.Descrizione Denominazione "
                     "CorsiSediinteressate.Denominazione CorsiSediInteressate.Cap CodComune "
                     "QryComuniProv.Denominazione QryComuniProv.Cap QryComuniProv.Descrizione "
                     "CodBacino Indirizzo StatoEstero CittaEstero Tel Fax EMail Riferimento");
        QTest::newRow("QrySediIntCorsi")
            << u"QrySediIntCorsi"_s
            << names("NumDoma GrupOpe Operatore SedeInteressata componente TipoCompo "
                     "CorsiSediInteressate.Denominazione CorsiCompo.Denominazione "
                     "QryComuniProv.Denominazione CodComune Cap CodBacino Descrizione Indirizzo Tel "
                     "Fax Email Riferimento");
        QTest::newRow("QryCompo")
            << u"QryCompo"_s
            << names("GrupOpe Operatore Componente TipoCompo CorsiCompo.Denominazione CodComune Cap "
                     "Indirizzo Tel Fax StatoEstero CittaEstero Email Riferimento SIGPROV "
                     "QryComuniProv.Denominazione");
        QTest::newRow("QrySediOccUtil")
            << u"QrySediOccUtil"_s
            << names("GrupOpe Operatore CorsiSediOccUtil.SedeOcc CorsiSediOcc.SedeOcc "
                     "CorsiSediOcc.Denominazione TipoCompo CodComune Cap Indirizzo Tel Fax SIGPROV");
        QTest::newRow("QryComuniProv")
            << u"QryComuniProv"_s
            << QStringList{u"CodComune"_s, u"Denominazione"_s, u"Cap"_s, u"SigProv"_s, u"Descrizione"_s};
        QTest::newRow("QryCorsi")
            << u"QryCorsi"_s
            << names("NumDoma GrupOpe Operatore SedeInteressata Corso CompoResp CicloFinanziario "
                     "CorsiProp.CicloFinanziario CodAsse CodMisura CodAzione CodQualif "
                     "CorsiProp.DenCorso CodDest CodCert CodPerc NumAll TotOreIter DurataTotIter "
                     "CorsoRifC211B IdAttivita_CorsoRifB111 CodGruppo CodSpesa AllieviSpesa OreSpesa "
                     "ParametroSpesa TotaleSpesa QryCorsi.CicloFinanziario.Descrizione DesAsse "
                     "DesMisura DesAzione DesDest CorsiCompo.Denominazione QryCompo.TipoCompo "
                     "Indirizzo ProgrAttivita ProgrAccorp Componente CorsiApprovati.DenCorso TotIter "
                     "DurataAnnOre Durata TipoConv");
        QTest::newRow("QryCorsiApprovati")
            << u"QryCorsiApprovati"_s
            << names("IdAttivita IdCorsoPrincipale GrupOpe Operatore ProgrAttivita AnnoInizio "
                     "ProgrAccorp CodDiret AnnGest DenCorso Componente CorsiCompo.Denominazione "
                     "QryCompo.TipoCompo Descrizione QryCompo.CodComune "
                     "QryCompo.QryComuniProv.Denominazione QryCompo.SIGPROV QryCompo.Cap "
                     "QryCompo.Indirizzo SedeOcca CorsiSediOcc.Denominazione QrySediOccUtil.TipoCompo "
                     "QrySediOccUtil.CodComune QrySediOccUtil.QryComuniProv.Denominazione "
                     "QrySediOccUtil.SIGPROV QrySediOccUtil.Cap QrySediOccUtil.Indirizzo CodQualif "
                     "CodObiettiv_Rif CodObiet CodAsse CodSubAsse LineaIntervento CodScol CodSetto "
                     "AnnoSetto CodComp AnnoComp CodPerc CodOra CodCert DurataAnnOre NumAll TotIter "
                     "Durata Stato NumConv Conv_PT_IpAddress Conv_NumPratica NumPratica ProvviProgAtt "
                     "ProvviProgAcc Dom_NumPratica Dom_ChiaveUtente StatoAvanzamento PROV TipoConv "
                     "CicloFin");
        QTest::newRow("QryCorsiPropSpese")
            << u"QryCorsiPropSpese"_s
            << names("NumDoma SedeInteressata Corso ProgrAnno GrupOpe Operatore CompoResp DenCorso "
                     "CodAsse CodMisura CodAzione CodDest NumAll TotOreIter DurataTotIter "
                     "CorsoRifC211B IdAttivita_CorsoRifB111 TotaleSpesa CorsiProp.CicloFinanziario");
        QTest::newRow("QryOper") << u"QryOper"_s << QStringList{};
    }

    void viewColumns()
    {
        QFETCH(QString, view);
        QFETCH(QStringList, read);

        QSet<QString> names;
        for (const ResultColumn &column : m_db->columns("SELECT * FROM " + view.toUtf8())) {
            const QString name = column.name.toLower();
            QVERIFY2(!names.contains(name), qPrintable(u"twice: "_s + column.name));
            names.insert(name);
        }
        for (const QString &name : read)
            QVERIFY2(names.contains(name.toLower()), qPrintable(u"missing: "_s + name));
    }

    void viewRows_data()
    {
        QTest::addColumn<QString>("view");
        QTest::addColumn<int>("rows");

        QTest::newRow("one per application") << u"QryDomande"_s << 3;
        QTest::newRow("one per legal seat, abroad included") << u"QryDomandeSedLeg"_s << 3;
        QTest::newRow("one per involved seat") << u"QrySediInteressate"_s << 6;
        QTest::newRow("one per seat with courses") << u"QrySediIntCorsi"_s << 3;
        QTest::newRow("one per component") << u"QryCompo"_s << 3;
        QTest::newRow("one per use of an occasional seat") << u"QrySediOccUtil"_s << 2;
        QTest::newRow("one per municipality") << u"QryComuniProv"_s << 2;
        QTest::newRow("one per course") << u"QryCorsi"_s << 3;
        QTest::newRow("one per approved course, seat used twice") << u"QryCorsiApprovati"_s << 2;
        QTest::newRow("one per course and year, at least one per course") << u"QryCorsiPropSpese"_s << 4;
        QTest::newRow("one per operator") << u"QryOper"_s << 2;
    }

    void viewRows()
    {
        QFETCH(QString, view);
        QFETCH(int, rows);

        QVERIFY(m_db->execute(fixture).isEmpty());
        QCOMPARE(m_db->count("SELECT COUNT(*) FROM " + view.toUtf8()), rows);
    }

    void joinedColumns_data()
    {
        QTest::addColumn<QByteArray>("sql");
        QTest::addColumn<QString>("expected");

        QTest::newRow("operator type")
            << QByteArray(R"(SELECT "QryDomande.TipoOper.Descrizione" FROM QryDomande
                                                        WHERE NumDoma = 101)")
            << u"ENTE DI FORMAZIONE"_s;
        QTest::newRow("correspondence component")
            << QByteArray(
                   R"(SELECT Denominazione || ' - ' || "QryCompo.Indirizzo" FROM QryDomande WHERE NumDoma = 101)")
            << u"SEDE DUE - VIA DUE"_s;
        QTest::newRow("legal seat abroad")
            << QByteArray(R"(SELECT "CorsiOper.Denominazione" || ' ' || StatoEstero FROM QryDomandeSedLeg
                             WHERE NumDoma = 102 AND CodComune IS NULL)")
            << u"ENTE DUE FRANCIA"_s;
        QTest::newRow("legal seat activity")
            << QByteArray(
                   R"(SELECT "QryDomandeSedLeg.AttEcono.Descrizione" FROM QryDomandeSedLeg WHERE NumDoma = 100)")
            << u"ISTRUZIONE"_s;
        QTest::newRow("area of the seat's municipality")
            << QByteArray(R"(SELECT CodBacino || ' ' || "QryComuniProv.Descrizione" FROM QrySediInteressate
                             WHERE NumDoma = 100 AND SedeInteressata = 1)")
            << u"1 BACINO NORD"_s;
        QTest::newRow("seat's own postal code")
            << QByteArray(R"(SELECT "CorsiSediInteressate.Cap" FROM QrySediInteressate
                             WHERE NumDoma = 100 AND SedeInteressata = 2)")
            << u"10200"_s;
        QTest::newRow("area of a seat with courses")
            << QByteArray(
                   "SELECT Descrizione FROM QrySediIntCorsi WHERE NumDoma = 100 AND SedeInteressata = 1")
            << u"BACINO NORD"_s;
        QTest::newRow("seats with courses in seat order")
            << QByteArray("SELECT group_concat(SedeInteressata) FROM QrySediIntCorsi WHERE NumDoma = 100")
            << u"1,1001"_s;
        QTest::newRow("responsible component")
            << QByteArray(R"(SELECT "CorsiCompo.Denominazione" FROM QryCorsi WHERE SedeInteressata = 1001)")
            << u"SEDE DUE"_s;
        QTest::newRow("reference course")
            << QByteArray(R"(SELECT "CorsiApprovati.DenCorso" || ' / ' || "CorsiProp.DenCorso" FROM QryCorsi
                             WHERE NumDoma = 100 AND SedeInteressata = 1)")
            << u"CORSO APPROVATO / CORSO UNO"_s;
        QTest::newRow("classification and cycle")
            << QByteArray(
                   R"(SELECT DesAsse || ', ' || DesMisura || ', ' || DesAzione || ', ' || DesDest || ', '
                                    || "QryCorsi.CicloFinanziario.Descrizione" FROM QryCorsi WHERE NumDoma = 102)")
            << u"ASSE TERZO, MISURA G, AZIONE SEI, DISOCCUPATI, CICLO 2021"_s;
        QTest::newRow("approved course's occasional seat")
            << QByteArray(R"(SELECT "CorsiSediOcc.Denominazione" || ' ' || "QrySediOccUtil.SIGPROV"
                             FROM QryCorsiApprovati WHERE IdAttivita = 5000)")
            << u"AULA ESTERNA AA"_s;
        QTest::newRow("approved course's component")
            << QByteArray(R"(SELECT "CorsiCompo.Denominazione" || ' ' || Descrizione FROM QryCorsiApprovati
                             WHERE IdAttivita = 5001)")
            << u"SEDE ESTERA SEDE LEGALE"_s;
        QTest::newRow("course without yearly rows")
            << QByteArray("SELECT COUNT(*) FROM QryCorsiPropSpese WHERE NumDoma = 102 AND ProgrAnno IS NULL")
            << u"1"_s;
        QTest::newRow("occasional seat type by default")
            << QByteArray("SELECT DISTINCT TipoCompo FROM QrySediOccUtil") << u"UO"_s;
    }

    void joinedColumns()
    {
        QFETCH(QByteArray, sql);
        QFETCH(QString, expected);

        QVERIFY(m_db->execute(fixture).isEmpty());
        QCOMPARE(m_db->value(sql), expected);
    }

    // A new application takes one seat per component and one per occasional seat its components use.
    void seatSnapshotOfANewApplication()
    {
        QVERIFY(m_db->execute(fixture).isEmpty());
        QCOMPARE(m_db->run("INSERT INTO Domande (NumDoma, GrupOpe, Operatore, PROV, Domanda) VALUES (103, "
                           "'A', 1, '000', 3)"),
                 SQLITE_OK);
        const QVariantList params = {103, u"A"_s, 1};
        QCOMPARE(
            m_db->run(
                R"(INSERT INTO CorsiSediInteressate (NumDoma, SedeInteressata, GrupOpe, Operatore, TipoCompo,
                                  Denominazione, CodComune, Cap, Indirizzo, Tel, Fax, StatoEstero, CittaEstero, Email, Riferimento)
                              SELECT ?, Componente, GrupOpe, Operatore, TipoCompo, "CorsiCompo.Denominazione", CodComune,
                                  Cap, Indirizzo, Tel, Fax, StatoEstero, CittaEstero, Email, Riferimento
                              FROM QryCompo WHERE GrupOpe = ? AND Operatore = ?)",
                params),
            SQLITE_OK);
        QCOMPARE(
            m_db->run(
                R"(INSERT INTO CorsiSediInteressate (NumDoma, GrupOpe, Operatore, SedeInteressata, TipoCompo,
                                  Denominazione, CodComune, Cap, Indirizzo, Tel, Fax, StatoEstero, CittaEstero, Email, Riferimento)
                              SELECT DISTINCT ?, GrupOpe, Operatore, "CorsiSediOccUtil.SedeOcc", TipoCompo,
                                  "CorsiSediOcc.Denominazione", CodComune, Cap, Indirizzo, Tel, Fax, '', '', '', ''
                              FROM QrySediOccUtil WHERE GrupOpe = ? AND Operatore = ?)",
                params),
            SQLITE_OK);

        QCOMPARE(
            m_db->value("SELECT group_concat(SedeInteressata || TipoCompo) FROM "
                        "(SELECT * FROM CorsiSediInteressate WHERE NumDoma = 103 ORDER BY SedeInteressata)"),
            u"1SL,2UL,1001UO"_s);
    }

    void updatableViews_data()
    {
        QTest::addColumn<QString>("view");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QStringList>("edited"); // view column, or "view column=table column"

        QTest::newRow("operator card")
            << u"QryDomande"_s << u"Domande"_s
            << names("GrupOpe Operatore DenominazioneOp TipoOper Corrispondenza LegNome LegComNasc "
                     "LegProvNasc LegGGNasc LegMMNasc LegAAAANasc ContIBAN ContDesBanca ContAge "
                     "ContIndirAge ContNumCC ContIntCC ProvCCIAA CodCCIAA AnnoCCIAA AttEcono GGPrece "
                     "MMPrece AAAAPrece DomProv=DomPROV DomPrece Direttiva AnnoDirettiva "
                     "DomandaStampata DomandaTrasmessa");
        QTest::newRow("legal seat")
            << u"QryDomandeSedLeg"_s << u"CorsiSediInteressate"_s
            << names("GrupOpe Operatore TipoCompo CodComune Cap Indirizzo Tel Fax StatoEstero "
                     "CittaEstero Riferimento Email");
        QTest::newRow("involved seats")
            << u"QrySediInteressate"_s << u"CorsiSediInteressate"_s
            << names("GrupOpe Operatore SedeInteressata TipoCompo Tel Fax EMail=Email Riferimento "
                     "CorsiSediInteressate.Cap=Cap");
        QTest::newRow("course editor")
            << u"QryCorsi"_s << u"CorsiProp"_s
            << names("NumDoma GrupOpe Operatore SedeInteressata Corso CompoResp CicloFinanziario "
                     "CodAsse CodMisura CodAzione CodQualif CorsiProp.DenCorso=DenCorso CodDest "
                     "CodCert CodPerc NumAll TotOreIter DurataTotIter CorsoRifC211B "
                     "IdAttivita_CorsoRifB111 CodGruppo CodSpesa AllieviSpesa OreSpesa ParametroSpesa "
                     "TotaleSpesa");
    }

    // The data layer writes an edited view column into the table column it comes from, finding the
    // row by that table's key. Joined tables must not be writable through the view.
    void updatableViews()
    {
        QFETCH(QString, view);
        QFETCH(QString, table);
        QFETCH(QStringList, edited);

        QHash<QString, ResultColumn> byName;
        QHash<QString, QSet<QString>> originsByTable;
        for (const ResultColumn &column : m_db->columns("SELECT * FROM " + view.toUtf8())) {
            byName.insert(column.name.toLower(), column);
            if (!column.table.isEmpty())
                originsByTable[column.table].insert(column.origin);
        }

        for (const QString &entry : edited) {
            const QString viewColumn = entry.section(u'=', 0, 0);
            const QString tableColumn = entry.contains(u'=') ? entry.section(u'=', 1) : viewColumn;
            QVERIFY2(byName.contains(viewColumn.toLower()), qPrintable(viewColumn));
            const ResultColumn column = byName.value(viewColumn.toLower());
            QCOMPARE(column.table, table);
            QCOMPARE(column.origin, tableColumn);
        }

        for (auto it = originsByTable.cbegin(); it != originsByTable.cend(); ++it) {
            const QStringList key = m_db->primaryKey(it.key());
            bool keyComplete = !key.isEmpty();
            for (const QString &column : key)
                keyComplete = keyComplete && it.value().contains(column);
            if (it.key() == table)
                QVERIFY2(keyComplete, qPrintable(u"key of "_s + table + u" missing"_s));
            else
                QVERIFY2(!keyComplete, qPrintable(it.key() + u" would be writable"_s));
        }
    }

    void deletingAnApplicationDeletesItsSeatsAndCourses()
    {
        QVERIFY(m_db->execute(fixture).isEmpty());
        QCOMPARE(m_db->run("DELETE FROM Domande WHERE NumDoma = ?", {100}), SQLITE_OK);

        for (const char *table : {"CorsiSediInteressate", "CorsiProp", "CorsiPropSpese"})
            QCOMPARE(m_db->count(QByteArray("SELECT COUNT(*) FROM ") + table + " WHERE NumDoma = 100"), 0);
        QCOMPARE(m_db->count("SELECT COUNT(*) FROM CorsiSediInteressate"), 3);
        QCOMPARE(m_db->count("SELECT COUNT(*) FROM CorsiProp"), 1);
        QCOMPARE(m_db->count("SELECT COUNT(*) FROM CorsiOper"), 2);
    }

    void noSeatOrCourseWithoutItsApplication()
    {
        QVERIFY(m_db->execute(fixture).isEmpty());
        QCOMPARE(m_db->run("INSERT INTO CorsiSediInteressate (NumDoma, SedeInteressata) VALUES (999, 1)"),
                 SQLITE_CONSTRAINT);
        QCOMPARE(m_db->run("INSERT INTO CorsiProp (NumDoma, SedeInteressata, Corso) VALUES (999, 1, '0001')"),
                 SQLITE_CONSTRAINT);
        QCOMPARE(m_db->run("INSERT INTO CorsiPropSpese (NumDoma, SedeInteressata, Corso, ProgrAnno) "
                           "VALUES (101, 1, '0001', 1)"),
                 SQLITE_CONSTRAINT);
    }

    // Reassigning a course to another seat takes its yearly cost rows along.
    void movingACourseKeepsItsYearlyRows()
    {
        QVERIFY(m_db->execute(fixture).isEmpty());
        QCOMPARE(m_db->run("UPDATE CorsiProp SET SedeInteressata = 2, Corso = '0003' "
                           "WHERE NumDoma = 100 AND SedeInteressata = 1 AND Corso = '0001'"),
                 SQLITE_OK);
        QCOMPARE(
            m_db->count("SELECT COUNT(*) FROM CorsiPropSpese WHERE NumDoma = 100 AND SedeInteressata = 2 "
                        "AND Corso = '0003'"),
            2);
        QCOMPARE(m_db->count("SELECT COUNT(*) FROM CorsiPropSpese"), 2);
    }

private:
    QByteArray m_schema;
    std::unique_ptr<Database> m_db;
};

QTEST_GUILESS_MAIN(TestSchema)
#include "tst_Schema.moc"
