#pragma once

#include "FixtureDatabase.h"

#include <QFile>
#include <QStringList>
#include <QTest>

/**
 * Real municipalities of the committed fixture (apostrophes, accents, names that begin or contain
 * others), listed out of name order, with their provinces, and a few foreign states in the table's
 * own order.
 */
inline void caricaLuoghi(FixtureDatabase &db)
{
    QFile file(QStringLiteral(KX_TEST_DATA "/applications/comuni-scelti.csv"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList righe = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    for (const QString &riga : righe.mid(1)) {
        const QStringList c = riga.split(u';');
        db.execute(QStringLiteral("INSERT OR IGNORE INTO Province (Prov, SigProv, DesProv, REGIONE) "
                                  "VALUES (?, ?, ?, ?)"),
                   {c[2], c[4], c[3].toUpper(), c[5]});
        db.insert(QStringLiteral("Comuni"),
                  {QStringLiteral("CodComune"), QStringLiteral("Denominazione"), QStringLiteral("PROV"),
                   QStringLiteral("Cap")},
                  {{c[0], c[1], c[2], c[8]}});
    }
    db.insert(QStringLiteral("StatiEsteri"), {QStringLiteral("CodStato"), QStringLiteral("DenomStato")},
              {{QStringLiteral("Z110"), QStringLiteral("FRANCIA")},
               {QStringLiteral("Z102"), QStringLiteral("AUSTRIA")},
               {QStringLiteral("Z313"), QStringLiteral("COSTA D'AVORIO")},
               {QStringLiteral("Z404"), QStringLiteral("STATI UNITI D'AMERICA")},
               {QStringLiteral("Z133"), QStringLiteral("SVIZZERA")}});
}
