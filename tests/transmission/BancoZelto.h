#pragma once

#include "FixtureDatabase.h"
#include "TestContext.h"
#include "core/data/DataEnvironment.h"
#include "core/data/Schema.h"
#include "core/state/CurrentApplication.h"

#include <QFile>

using namespace Qt::StringLiterals;

/**
 * The courses of the registry's documents. Application 900 of operator A-123 holds three courses:
 * seat 5 (qualification with every character that needs escaping, ATI true, the same target group
 * twice, only DesInd3 with an empty CodInd3), occasional seat 1001 run by component 7 (qualification
 * missing from Qualifi, a fraction, a target group missing from Destin, DesInd3 of two blanks with
 * CodInd3 Null, the seat with telephone and a fax without prefix) and seat 1234 (a target group
 * without description, DesInd1 and DesInd6). Application 901 of operator A-123456 holds one course
 * with ATI Null, as a database from before the column's default may; application 902 holds none.
 */
struct BancoZelto
{
    static inline const QString Guid1 = u"{6F9619FF-8B86-D011-B42D-00C04FC964FF}"_s;
    static inline const QString Guid2 = u"{0B7E4F2A-3C1D-4E5F-9A8B-7C6D5E4F3A2B}"_s;
    static inline const QString Guid3 = u"{C3C3C3C3-0000-4000-8000-000000000003}"_s;
    static inline const QString Guid4 = u"{D4D4D4D4-0000-4000-8000-000000000004}"_s;

    static QString schemaConAtiNull()
    {
        QString schema = kx::databaseSchema();
        schema.replace(u"ATI INTEGER NOT NULL DEFAULT 0"_s, u"ATI INTEGER"_s);
        return schema;
    }

    TestContext test;
    FixtureDatabase db{test.path(u"KX58TORVA.mdb"_s), schemaConAtiNull()};

    BancoZelto()
    {
        db.insert(u"Domande"_s, {u"NumDoma"_s, u"GrupOpe"_s, u"Operatore"_s},
                  {{900, u"A"_s, 123}, {901, u"A"_s, 123456}, {902, u"A"_s, 123}});
        db.insert(u"Qualifi"_s, {u"CodQualif"_s, u"DesQualif"_s},
                  {{u"Q01"_s, u"TECNICO \"ALBERGHIERO\" & <CUOCO> D'ALBERGO é’€"_s}});
        db.insert(u"Destin"_s, {u"CodDest"_s, u"DesDest"_s},
                  {{3, u"GIOVANI DISOCCUPATI"_s}, {4, QVariant()}});
        db.insert(u"Comuni"_s, {u"CodComune"_s, u"Denominazione"_s, u"CodiceConversione"_s},
                  {{u"L219X"_s, u"TORINO"_s, u"001272"_s}});
        db.insert(u"CorsiSediOcc"_s,
                  {u"SedeOcc"_s, u"Denominazione"_s, u"Indirizzo"_s, u"CodComune"_s, u"Cap"_s, u"Pref"_s,
                   u"Tel"_s, u"PrefFax"_s, u"Fax"_s},
                  {{1001, u"PALESTRA COMUNALE"_s, u"PIAZZA GRANDE 3"_s, u"L219X"_s, u"10100"_s, u"011"_s,
                    u"123456"_s, QVariant(), u"654321"_s}});
        const QStringList colonne{u"NumDoma"_s,   u"SedeInteressata"_s, u"GrupOpe"_s,
                                  u"Operatore"_s, u"Corso"_s,           u"CompoResp"_s,
                                  u"Guid"_s,      u"CodQualif"_s,       u"CodSetto"_s,
                                  u"CodComp"_s,   u"DurataTotIter"_s,   u"CodCert"_s,
                                  u"OreStage"_s,  u"TotOreIter"_s,      u"CodAsse"_s,
                                  u"CodMisura"_s, u"CodAzione"_s,       u"ATI"_s,
                                  u"CodDest"_s,   u"CodDest2"_s,        u"CodInd1"_s,
                                  u"DesInd1"_s,   u"CodInd3"_s,         u"DesInd3"_s,
                                  u"CodInd6"_s,   u"DesInd6"_s};
        const QVariant n;
        db.insert(u"CorsiProp"_s, colonne,
                  {{900,     5, u"A"_s, 123, u"0001"_s, n,   Guid1,  u"Q01"_s,
                    12,      n, 2,      1,   n,         600, u"I"_s, u"A"_s,
                    u"01"_s, 1, 3,      3,   n,         n,   u""_s,  u"VIA ROMA 1\r\nSCALA B"_s,
                    n,       n},
                   {900, 1001,    u"A"_s, 123,   u"0002"_s, 7,  Guid2, u"Q99"_s, n, 4, 1.5,     n, 120,
                    n,   u"II"_s, n,      u""_s, 0,         99, n,     n,        n, n, u"  "_s, n, n},
                   {900,       1234,
                    u"A"_s,    123,
                    u"0003"_s, n,
                    Guid4,     n,
                    n,         n,
                    n,         n,
                    n,         n,
                    n,         n,
                    n,         0,
                    4,         3,
                    u"C1"_s,   u"CORSO FRANCIA 10"_s,
                    n,         n,
                    u"C6"_s,   u"VIA PO 6"_s},
                   {901, 5, u"A"_s, 123456, u"0001"_s, n, Guid3, n, n, n, n, n, n,
                    n,   n, n,      n,      n,         n, n,     n, n, n, n, n, n}});
        test.context().DE().CorsiDB().open(db.path(), kx::Connection::Mode::Shared);
        domandaCorrente(900, 123);
    }
    ~BancoZelto()
    {
        if (test.context().DE().CorsiDB().isOpen())
            test.context().DE().CorsiDB().close();
    }

    void domandaCorrente(qint32 numero, int operatore)
    {
        kx::CurrentApplication &domanda = test.context().domanda();
        domanda.NumDomaCorrente = numero;
        domanda.GrupOpeCorrente = u"A"_s;
        domanda.OperatoreCorrente = QString::number(operatore);
    }

    /** A golden document of tests/data/transmission/zelto. */
    static QString golden(const QString &nome)
    {
        QFile file(QStringLiteral(KX_TEST_DATA "/transmission/zelto/") + nome);
        if (!file.open(QIODevice::ReadOnly))
            qFatal("golden document missing");
        return QString::fromLatin1(file.readAll());
    }
};
