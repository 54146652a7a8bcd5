#pragma once

#include "FixtureDatabase.h"
#include "TestContext.h"
#include "core/data/DataEnvironment.h"
#include "core/state/CurrentApplication.h"
#include "core/state/Trasmissione.h"

#include <QDir>

using namespace Qt::StringLiterals;

/**
 * Application 812 of operator A-27 in the province XY, ready to transmit: the legal seat 1 (a comma
 * in its address) and the occasional seat 1001 carry courses, seat 2 carries none. Course 0001 of
 * seat 1 refers to the approved course 5001 and has two yearly rows; course 0002 of seat 1 has a
 * free-text reference of two lines and no yearly row; course 0001 of seat 1001 has three yearly rows.
 * Texts hold accented letters, some columns are Null, and application 813 of another operator must
 * stay out of the file. The clock reads the 2nd of August 2021.
 */
struct BancoTrasmissione
{
    TestContext test;
    FixtureDatabase db{test.path(u"KX58TORVA.mdb"_s)};

    static inline const QString NomeFile = u"KX58TORVA_XY_812.A27"_s;

    BancoTrasmissione()
    {
        db.insert(u"Province"_s, {u"Prov"_s, u"SigProv"_s, u"DesProv"_s, u"REGIONE"_s},
                  {{u"001"_s, u"XY"_s, u"PROVINCIA DI PROVA"_s, u"01"_s}});
        db.insert(u"Comuni"_s, {u"CodComune"_s, u"Denominazione"_s, u"PROV"_s, u"Cap"_s, u"CodBacino"_s},
                  {{u"A001"_s, u"CITTÀ UNO"_s, u"001"_s, u"00100"_s, 7},
                   {u"A002"_s, u"BORGO DUE"_s, u"001"_s, u"00200"_s, QVariant()}});
        db.insert(
            u"Domande"_s,
            {u"NumDoma"_s,    u"GrupOpe"_s,      u"Operatore"_s, u"PROV"_s,           u"DenominazioneOp"_s,
             u"TipoOper"_s,   u"CodFisc"_s,      u"PIva"_s,      u"Corrispondenza"_s, u"LegNome"_s,
             u"LegComNasc"_s, u"LegProvNasc"_s,  u"LegGGNasc"_s, u"LegMMNasc"_s,      u"LegAAAANasc"_s,
             u"ProvCCIAA"_s,  u"CodCCIAA"_s,     u"AnnoCCIAA"_s, u"AttEcono"_s,       u"ContDesBanca"_s,
             u"ContAge"_s,    u"ContIndirAge"_s, u"ContNumCC"_s, u"ContIntCC"_s,      u"ContIBAN"_s},
            {{812,
              u"A"_s,
              27,
              u"001"_s,
              u"ENTE DI FORMAZIONE SANTA LUCÌA"_s,
              u"01"_s,
              u"01234567890"_s,
              QVariant(),
              1,
              u"ROSSI NICOLÒ"_s,
              u"CITTÀ UNO"_s,
              u"XY"_s,
              u"05"_s,
              u"11"_s,
              u"1970"_s,
              u"XY"_s,
              u"123456"_s,
              u"1999"_s,
              85,
              u"BANCA DI PROVA"_s,
              u"AG. 3"_s,
              u"VIA DEL CORSO, 10"_s,
              u"000123"_s,
              u"ENTE DI FORMAZIONE"_s,
              QVariant()},
             {813,    u"B"_s, 5,      u"001"_s, u"ALTRO ENTE"_s, u"01"_s,   u"X"_s,  u"X"_s, 1,
              u"X"_s, u"X"_s, u"X"_s, u"01"_s,  u"01"_s,         u"1980"_s, u"XY"_s, u"1"_s, u"2000"_s,
              85,     u"X"_s, u"X"_s, u"X"_s,   u"X"_s,          u"X"_s,    u"X"_s}});
        db.insert(
            u"CorsiSediInteressate"_s,
            {u"NumDoma"_s, u"SedeInteressata"_s, u"GrupOpe"_s, u"Operatore"_s, u"TipoCompo"_s,
             u"Denominazione"_s, u"CodComune"_s, u"Cap"_s, u"Indirizzo"_s, u"Tel"_s, u"Fax"_s,
             u"StatoEstero"_s, u"CittaEstero"_s, u"Email"_s, u"Riferimento"_s},
            {{812, 1001, u"A"_s, 27, u"UO"_s, u"PALESTRA COMUNALE"_s, u"A002"_s, u"00200"_s,
              u"PIAZZA GRANDE 3"_s, QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), u"VERDI"_s},
             {812, 1, u"A"_s, 27, u"SL"_s, u"SEDE LEGALE È"_s, u"A001"_s, u"00101"_s, u"VIA ROMA, 1"_s,
              u"011 1"_s, QVariant(), QVariant(), QVariant(), u"sede@ente.it"_s, u"BIANCHI"_s},
             {812, 2, u"A"_s, 27, u"UL"_s, u"SEDE SENZA CORSI"_s, u"A001"_s, u"00102"_s, u"VIA PO 2"_s,
              QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant()},
             {813, 1, u"B"_s, 5, u"SL"_s, u"ALTRA SEDE"_s, u"A001"_s, u"00100"_s, u"VIA X"_s, QVariant(),
              QVariant(), QVariant(), QVariant(), QVariant(), QVariant()}});
        db.insert(u"CorsiApprovati"_s,
                  {u"IdAttivita"_s, u"GrupOpe"_s, u"Operatore"_s, u"Componente"_s, u"ProgrAttivita"_s,
                   u"AnnoInizio"_s, u"ProgrAccorp"_s, u"AnnGest"_s, u"DenCorso"_s},
                  {{5001, u"A"_s, 27, 1, u"12"_s, u"2019"_s, 1, u"2020"_s, u"OPERATORE AMMINISTRATIVO"_s}});
        // Added out of order: the file sorts them by seat and course.
        db.insert(u"CorsiProp"_s,
                  {u"NumDoma"_s,
                   u"SedeInteressata"_s,
                   u"GrupOpe"_s,
                   u"Operatore"_s,
                   u"Corso"_s,
                   u"CompoResp"_s,
                   u"CicloFinanziario"_s,
                   u"CodAsse"_s,
                   u"CodMisura"_s,
                   u"CodAzione"_s,
                   u"DenCorso"_s,
                   u"CodDest"_s,
                   u"NumAll"_s,
                   u"TotOreIter"_s,
                   u"DurataTotIter"_s,
                   u"CorsoRifC211B"_s,
                   u"IdAttivita_CorsoRifB111"_s,
                   u"CodGruppo"_s,
                   u"CodSpesa"_s,
                   u"AllieviSpesa"_s,
                   u"OreSpesa"_s,
                   u"ParametroSpesa"_s,
                   u"TotaleSpesa"_s},
                  {{812,
                    1001,
                    u"A"_s,
                    27,
                    u"0001"_s,
                    1,
                    u"FSE"_s,
                    u"I"_s,
                    u"A"_s,
                    u"01"_s,
                    u"TECNICHE DI CUCINA ÀÈÌÒÙ"_s,
                    3,
                    15,
                    600,
                    2,
                    QVariant(),
                    QVariant(),
                    2,
                    4,
                    15,
                    600,
                    12.5,
                    0.0},
                   {812,
                    1,
                    u"A"_s,
                    27,
                    u"0002"_s,
                    QVariant(),
                    u"FSE"_s,
                    u"II"_s,
                    u"B"_s,
                    u"02"_s,
                    u"INFORMATICA DI BASE"_s,
                    1,
                    QVariant(),
                    80,
                    1,
                    u"PRIMA RIGA\r\nSECONDA RIGA"_s,
                    QVariant(),
                    1,
                    3,
                    10,
                    80,
                    83.0,
                    1825.5},
                   {812,
                    1,
                    u"A"_s,
                    27,
                    u"0001"_s,
                    QVariant(),
                    QVariant(),
                    u"I"_s,
                    u"A"_s,
                    u"02"_s,
                    u"CONTABILITÀ"_s,
                    2,
                    12,
                    400,
                    1,
                    u"IGNORATO"_s,
                    5001,
                    1,
                    1,
                    12,
                    400,
                    36.5,
                    1825.0},
                   {813,        1,       u"B"_s,     5, u"0001"_s, QVariant(), QVariant(), u"I"_s,
                    u"A"_s,     u"01"_s, u"ALTRO"_s, 1, 1,         1,          1,          QVariant(),
                    QVariant(), 1,       1,          1, 1,         1.0,        1.0}});
        db.insert(u"CorsiPropSpese"_s,
                  {u"NumDoma"_s, u"SedeInteressata"_s, u"Corso"_s, u"ProgrAnno"_s, u"TotaleSpesa"_s},
                  {{812, 1001, u"0001"_s, 3, 1.0},
                   {812, 1, u"0001"_s, 2, 1.0},
                   {812, 1001, u"0001"_s, 1, 1.0},
                   {812, 1, u"0001"_s, 1, 1.0},
                   {812, 1001, u"0001"_s, 2, 1.0}});

        kx::CurrentApplication &domanda = test.context().domanda();
        domanda.NumDomaCorrente = 812;
        domanda.GrupOpeCorrente = u"A"_s;
        domanda.OperatoreCorrente = u"27"_s;
        domanda.ProvCorrente = u"001"_s;
        test.context().trasmissione().EmailTrasm = u"mario.rossi@ente.it"_s;
        test.clock.time = QDateTime(QDate(2021, 8, 2), QTime(9, 15));
        test.context().DE().CorsiDB().open(db.path(), kx::Connection::Mode::Shared);
    }
    ~BancoTrasmissione()
    {
        if (test.context().DE().CorsiDB().isOpen())
            test.context().DE().CorsiDB().close();
    }

    /** The transmission files in the program folder: every name that starts as the writer's names do. */
    QStringList fileTrasmissione() const
    {
        return QDir(test.folder()).entryList({u"KX58TORVA_*"_s, u"DEBUG_*"_s}, QDir::Files);
    }

    /** The lines of the file written, without their CR LF. */
    QList<QByteArray> righe(const QString &nome = NomeFile) const
    {
        QList<QByteArray> righe = test.readFile(nome).split('\n');
        righe.removeLast();
        for (QByteArray &riga : righe)
            riga.chop(1);
        return righe;
    }
};
