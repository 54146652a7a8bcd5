#include "TestContext.h"
#include "applications/Operatore.h"
#include "core/data/DataEnvironment.h"
#include "core/data/Recordset.h"
#include "tests/applications/BancoOperatore.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

/** A card that passes every check: the three required fields, nothing optional. */
SchedaOperatore schedaMinima()
{
    SchedaOperatore s;
    s.DenominazioneOp = u"ENTE"_s;
    s.Corrispondenza = u"    1 - SEDE LEGALE - SL - VIA ROMA 1"_s;
    s.LegNome = u"ROSSI"_s;
    return s;
}

void imposta(SchedaOperatore &s, const QString &campo, const QString &valore)
{
    QString SchedaOperatore::*const campi[] = {
        &SchedaOperatore::GrupOpe,      &SchedaOperatore::Operatore,      &SchedaOperatore::DenominazioneOp,
        &SchedaOperatore::TipoOper,     &SchedaOperatore::Corrispondenza, &SchedaOperatore::LegNome,
        &SchedaOperatore::LegComNasc,   &SchedaOperatore::LegProvNasc,    &SchedaOperatore::LegGGNasc,
        &SchedaOperatore::LegMMNasc,    &SchedaOperatore::LegAAAANasc,    &SchedaOperatore::ContIBAN,
        &SchedaOperatore::ContDesBanca, &SchedaOperatore::ContAge,        &SchedaOperatore::ContIndirAge,
        &SchedaOperatore::ContNumCC,    &SchedaOperatore::ContIntCC,      &SchedaOperatore::ProvCCIAA,
        &SchedaOperatore::CodCCIAA,     &SchedaOperatore::AnnoCCIAA,      &SchedaOperatore::AttEcono,
        &SchedaOperatore::GGPrece,      &SchedaOperatore::MMPrece,        &SchedaOperatore::AAAAPrece,
        &SchedaOperatore::DomProv,      &SchedaOperatore::DomPrece,       &SchedaOperatore::Direttiva,
        &SchedaOperatore::AnnoDirettiva};
    static const QStringList nomi{
        u"GrupOpe"_s,     u"Operatore"_s,  u"DenominazioneOp"_s, u"TipoOper"_s,  u"Corrispondenza"_s,
        u"LegNome"_s,     u"LegComNasc"_s, u"LegProvNasc"_s,     u"LegGGNasc"_s, u"LegMMNasc"_s,
        u"LegAAAANasc"_s, u"ContIBAN"_s,   u"ContDesBanca"_s,    u"ContAge"_s,   u"ContIndirAge"_s,
        u"ContNumCC"_s,   u"ContIntCC"_s,  u"ProvCCIAA"_s,       u"CodCCIAA"_s,  u"AnnoCCIAA"_s,
        u"AttEcono"_s,    u"GGPrece"_s,    u"MMPrece"_s,         u"AAAAPrece"_s, u"DomProv"_s,
        u"DomPrece"_s,    u"Direttiva"_s,  u"AnnoDirettiva"_s};
    const qsizetype i = nomi.indexOf(campo);
    if (i < 0)
        throw UnexpectedCall(u"no field "_s + campo);
    s.*campi[i] = valore;
}

using Campi = QList<std::pair<QString, QString>>;

/** Writes the card as a card that loaded application 7 just now would. */
EsitoScrittura scrivi(BancoOperatore &banco, const SchedaOperatore &scheda)
{
    const QVariantList caricati = banco.db
                                      .query(u"SELECT "_s + colonneDomandaOperatore().join(u", "_s) +
                                             u" FROM Domande WHERE NumDoma=7"_s)
                                      .rows.value(0);
    return scriviOperatore(banco.test.context().DE().CorsiDB(), 7, u"A"_s, u"12"_s, scheda, caricati,
                           Scrittura::SeInvariata);
}

} // namespace

Q_DECLARE_METATYPE(Valori)
Q_DECLARE_METATYPE(Campi)

class TestOperatore : public QObject
{
    Q_OBJECT

private slots:
    void listsHoldTheOperatorsItems()
    {
        BancoOperatore banco;
        const ListeOperatore liste = CaricaListe(banco.test.context().DE(), u"A"_s, u"12"_s);

        QCOMPARE(liste.cmbTOper, (QStringList{QString(), u"01 - ENTE PUBBLICO"_s, u"02 - ASSOCIAZIONE"_s}));
        QCOMPARE(liste.cmbCorrispondenza,
                 (QStringList{QString(), u"    1 - SEDE LEGALE - SL - VIA ROMA 1"_s,
                              u"    2 - SEDE OPERATIVA DI UN NOME MOLTO LUN - SO - VIA PO 2"_s}));
        QCOMPARE(liste.cmbAEco,
                 (QStringList{QString(), u"  5 - AGRICOLTURA"_s, u" 85 - ISTRUZIONE"_s, u"300 - SERVIZI"_s}));
        QCOMPARE(liste.cmbDomProv, (QStringList{QString(), u"REGIONE VALDORIA"_s, u"TORINO"_s, u"CUNEO"_s}));
        for (const QString &tabella : {u"TipoOper"_s, u"CorsiCompo"_s, u"AttEcono"_s, u"Province"_s}) {
            Recordset &rs = banco.test.context().DE().rs(tabella);
            QVERIFY2(!rs.isOpen(), qPrintable(tabella));
            QVERIFY2(rs.filter().isEmpty(), qPrintable(tabella));
        }
    }

    void rowShown_data()
    {
        QTest::addColumn<Valori>("colonne");
        QTest::addColumn<QString>("campo");
        QTest::addColumn<QString>("mostrato");

        QTest::newRow("tax code and VAT number: the VAT number")
            << Valori{{u"CodFisc"_s, u"CF"_s}, {u"PIva"_s, u"PI"_s}} << u"codice"_s << u"PARTITA IVA|PI"_s;
        QTest::newRow("tax code only")
            << Valori{{u"CodFisc"_s, u"CF"_s}, {u"PIva"_s, u""_s}} << u"codice"_s << u"CODICE FISCALE|CF"_s;
        QTest::newRow("VAT number only")
            << Valori{{u"CodFisc"_s, QVariant()}, {u"PIva"_s, u"PI"_s}} << u"codice"_s << u"PARTITA IVA|PI"_s;
        QTest::newRow("neither") << Valori{{u"CodFisc"_s, u""_s}, {u"PIva"_s, QVariant()}} << u"codice"_s
                                 << u"CODICE FISCALE/PARTITA IVA|"_s;

        QTest::newRow("correspondence Null")
            << Valori{{u"Corrispondenza"_s, QVariant()}} << u"Corrispondenza"_s << QString();
        QTest::newRow("correspondence 0")
            << Valori{{u"Corrispondenza"_s, 0}} << u"Corrispondenza"_s << QString();
        QTest::newRow("correspondence negative")
            << Valori{{u"Corrispondenza"_s, -3}} << u"Corrispondenza"_s << QString();
        QTest::newRow("correspondence positive: the component's item")
            << Valori{{u"Corrispondenza"_s, 2}} << u"Corrispondenza"_s
            << u"    2 - SEDE OPERATIVA DI UN NOME MOLTO LUN - SO - VIA PO 2"_s;
        QTest::newRow("correspondence no longer in the registry: its number")
            << Valori{{u"Corrispondenza"_s, 9}} << u"Corrispondenza"_s << u"    9"_s;

        QTest::newRow("type with its description") << Valori{} << u"TipoOper"_s << u"01 - ENTE PUBBLICO"_s;
        QTest::newRow("type missing from the decode table: its code")
            << Valori{{u"TipoOper"_s, u"09"_s}} << u"TipoOper"_s << u"09"_s;
        QTest::newRow("type Null") << Valori{{u"TipoOper"_s, QVariant()}} << u"TipoOper"_s << QString();

        QTest::newRow("activity with its description") << Valori{} << u"AttEcono"_s << u" 85 - ISTRUZIONE"_s;
        QTest::newRow("activity above 255")
            << Valori{{u"AttEcono"_s, 300}} << u"AttEcono"_s << u"300 - SERVIZI"_s;
        QTest::newRow("activity 0: none") << Valori{{u"AttEcono"_s, 0}} << u"AttEcono"_s << QString();
        QTest::newRow("activity Null") << Valori{{u"AttEcono"_s, QVariant()}} << u"AttEcono"_s << QString();
        QTest::newRow("activity missing from the decode table: its code")
            << Valori{{u"AttEcono"_s, 77}} << u"AttEcono"_s << u" 77"_s;

        QTest::newRow("birth province Null: emptied, state kept")
            << Valori{{u"LegProvNasc"_s, QVariant()}} << u"LegProvNasc"_s << u"|kept"_s;
        QTest::newRow("birth province empty: disabled")
            << Valori{{u"LegProvNasc"_s, u""_s}} << u"LegProvNasc"_s << u"|disabled"_s;
        QTest::newRow("birth province stored: enabled") << Valori{} << u"LegProvNasc"_s << u"TO|enabled"_s;

        QTest::newRow("previous province Null")
            << Valori{{u"DomPROV"_s, QVariant()}} << u"DomProv"_s << QString();
        QTest::newRow("previous province empty")
            << Valori{{u"DomPROV"_s, u""_s}} << u"DomProv"_s << QString();
        QTest::newRow("previous province the region")
            << Valori{{u"DomPROV"_s, u"REGIONE VALDORIA"_s}} << u"DomProv"_s << u"REGIONE VALDORIA"_s;
        QTest::newRow("previous province not of the region, kept")
            << Valori{{u"DomPROV"_s, u"MILANO"_s}} << u"DomProv"_s << u"MILANO"_s;

        QTest::newRow("a Null text column shows empty")
            << Valori{{u"Direttiva"_s, QVariant()}} << u"Direttiva"_s << QString();
    }

    void rowShown()
    {
        QFETCH(Valori, colonne);
        QFETCH(QString, campo);
        QFETCH(QString, mostrato);

        BancoOperatore banco;
        const VistaOperatore vista = CaricaDati(banco.riga(colonne));
        const SchedaOperatore &s = vista.scheda;
        QString letto;
        if (campo == u"codice")
            letto = vista.didascaliaCodice + u'|' + vista.codice;
        else if (campo == u"LegProvNasc")
            letto = s.LegProvNasc + u'|' +
                    (!vista.provinciaNascitaAbilitata   ? u"kept"_s
                     : *vista.provinciaNascitaAbilitata ? u"enabled"_s
                                                        : u"disabled"_s);
        else if (campo == u"Corrispondenza")
            letto = s.Corrispondenza;
        else if (campo == u"TipoOper")
            letto = s.TipoOper;
        else if (campo == u"AttEcono")
            letto = s.AttEcono;
        else if (campo == u"DomProv")
            letto = s.DomProv;
        else
            letto = s.Direttiva;
        QCOMPARE(letto, mostrato);
        QCOMPARE(s.GrupOpe, u"A"_s);
        QCOMPARE(s.Operatore, u"12"_s);
    }

    void changesFound_data()
    {
        QTest::addColumn<Valori>("colonne");
        QTest::addColumn<Campi>("modifiche");
        QTest::addColumn<bool>("invariati");

        QTest::newRow("nothing edited") << Valori{} << Campi{} << true;
        QTest::newRow("only the letter case differs")
            << Valori{} << Campi{{u"LegNome"_s, u"Rossi Mario"_s}} << false;
        QTest::newRow("a trailing blank") << Valori{} << Campi{{u"ContIBAN"_s, u"IT60X "_s}} << false;
        QTest::newRow("a Null column left empty") << Valori{{u"Direttiva"_s, QVariant()}} << Campi{} << true;
        QTest::newRow("a Null column typed into")
            << Valori{{u"Direttiva"_s, QVariant()}} << Campi{{u"Direttiva"_s, u"X"_s}} << false;
        QTest::newRow("another component")
            << Valori{} << Campi{{u"Corrispondenza"_s, u"    2 - ALTRO - SO - VIA PO 2"_s}} << false;
        QTest::newRow("the component's name alone differs")
            << Valori{} << Campi{{u"Corrispondenza"_s, u"    1 - NUOVO NOME - SL - VIA ROMA 1"_s}} << true;
        QTest::newRow("stored activity 0 against the blank item")
            << Valori{{u"AttEcono"_s, 0}} << Campi{} << true;
        QTest::newRow("stored activity 0 against an activity")
            << Valori{{u"AttEcono"_s, 0}} << Campi{{u"AttEcono"_s, u"  5 - AGRICOLTURA"_s}} << false;
        QTest::newRow("an activity against the blank item")
            << Valori{} << Campi{{u"AttEcono"_s, QString()}} << false;
        QTest::newRow("activity above 255 shown by its item")
            << Valori{{u"AttEcono"_s, 300}} << Campi{} << true;
        QTest::newRow("correspondence 0 against the blank item")
            << Valori{{u"Corrispondenza"_s, 0}} << Campi{} << true;
        QTest::newRow("correspondence Null against the blank item")
            << Valori{{u"Corrispondenza"_s, QVariant()}} << Campi{} << true;
        QTest::newRow("correspondence Null and a component chosen")
            << Valori{{u"Corrispondenza"_s, QVariant()}}
            << Campi{{u"Corrispondenza"_s, u"    1 - SEDE LEGALE - SL - VIA ROMA 1"_s}} << false;
        QTest::newRow("extra items of values missing from their lists") << Valori{{u"TipoOper"_s, u"09"_s},
                                                                                  {u"Corrispondenza"_s, 9},
                                                                                  {u"AttEcono"_s, 77},
                                                                                  {u"DomPROV"_s, u"MILANO"_s}}
                                                                        << Campi{} << true;
        QTest::newRow("previous province Null against the blank item")
            << Valori{{u"DomPROV"_s, QVariant()}} << Campi{} << true;
        QTest::newRow("previous province against the blank item")
            << Valori{} << Campi{{u"DomProv"_s, QString()}} << false;
        QTest::newRow("operator type by its code only")
            << Valori{} << Campi{{u"TipoOper"_s, u"01 - ALTRA DESCRIZIONE"_s}} << true;
    }

    void changesFound()
    {
        QFETCH(Valori, colonne);
        QFETCH(Campi, modifiche);
        QFETCH(bool, invariati);

        BancoOperatore banco;
        Recordset &rs = banco.riga(colonne);
        SchedaOperatore s = CaricaDati(rs).scheda;
        for (const auto &[campo, valore] : modifiche)
            imposta(s, campo, valore);
        QCOMPARE(DatiInvariati(s, rs), invariati);
    }

    void dueCifre_data()
    {
        QTest::addColumn<QString>("testo");
        QTest::addColumn<QString>("risultato");
        QTest::newRow("one digit") << u"7"_s << u"07"_s;
        QTest::newRow("two digits") << u"12"_s << u"12"_s;
        QTest::newRow("empty") << QString() << QString();
    }

    void dueCifre()
    {
        QFETCH(QString, testo);
        QFETCH(QString, risultato);
        QCOMPARE(DueCifre(testo), risultato);
    }

    void dates_data()
    {
        QTest::addColumn<QString>("giorno");
        QTest::addColumn<QString>("mese");
        QTest::addColumn<QString>("anno");
        QTest::addColumn<bool>("valida");

        QTest::newRow("a date") << u"15"_s << u"06"_s << u"1980"_s << true;
        QTest::newRow("31 February") << u"31"_s << u"02"_s << u"1980"_s << false;
        QTest::newRow("29 February of a leap year") << u"29"_s << u"02"_s << u"1980"_s << true;
        QTest::newRow("29 February of another year") << u"29"_s << u"02"_s << u"1981"_s << false;
        QTest::newRow("month 13") << u"01"_s << u"13"_s << u"1980"_s << false;
        QTest::newRow("day 0") << u"0"_s << u"01"_s << u"1980"_s << false;
        QTest::newRow("two-digit year") << u"01"_s << u"01"_s << u"99"_s << true;
        QTest::newRow("29 February 00 is of 2000") << u"29"_s << u"02"_s << u"00"_s << true;
        QTest::newRow("year missing") << u"01"_s << u"01"_s << QString() << false;
        QTest::newRow("day missing") << QString() << u"01"_s << u"1980"_s << false;
        QTest::newRow("a decimal comma") << u"1,5"_s << u"01"_s << u"1980"_s << false;
    }

    void dates()
    {
        QFETCH(QString, giorno);
        QFETCH(QString, mese);
        QFETCH(QString, anno);
        QFETCH(bool, valida);
        QCOMPARE(dataValida(giorno, mese, anno), valida);
    }

    void checks_data()
    {
        QTest::addColumn<Campi>("campi");
        QTest::addColumn<bool>("provinciaAbilitata");
        QTest::addColumn<int>("controllo");
        QTest::addColumn<QString>("titolo");
        QTest::addColumn<QString>("campo");
        QTest::addColumn<int>("scheda");

        const QString vd = u"Verifica dati"_s;
        const QString vD = u"Verifica Dati"_s;
        const Campi precedente{{u"DomPrece"_s, u"44"_s},       {u"GGPrece"_s, u"01"_s},
                               {u"MMPrece"_s, u"03"_s},        {u"AAAAPrece"_s, u"2015"_s},
                               {u"DomProv"_s, u"TORINO"_s},    {u"Direttiva"_s, u"DIR"_s},
                               {u"AnnoDirettiva"_s, u"2014"_s}};
        auto con = [](Campi campi, const Campi &altri) {
            for (const auto &c : altri)
                campi.append(c);
            return campi;
        };

        QTest::newRow("only the required fields") << Campi{} << true << 0 << QString() << QString() << -1;
        QTest::newRow("everything filled") << con(precedente, {{u"LegComNasc"_s, u"TORINO"_s},
                                                               {u"LegProvNasc"_s, u"TO"_s},
                                                               {u"LegGGNasc"_s, u"01"_s},
                                                               {u"LegMMNasc"_s, u"02"_s},
                                                               {u"LegAAAANasc"_s, u"1960"_s},
                                                               {u"ProvCCIAA"_s, u"TO"_s},
                                                               {u"CodCCIAA"_s, u"1"_s},
                                                               {u"AnnoCCIAA"_s, u"1901"_s}})
                                           << true << 0 << QString() << QString() << -1;
        QTest::newRow("1 name empty")
            << Campi{{u"DenominazioneOp"_s, QString()}} << true << 1 << vd << u"txtDenomi"_s << 0;
        QTest::newRow("1 a name of blanks passes")
            << Campi{{u"DenominazioneOp"_s, u"  "_s}} << true << 0 << QString() << QString() << -1;
        QTest::newRow("2 no component")
            << Campi{{u"Corrispondenza"_s, QString()}} << true << 2 << vd << u"cmbCorrispondenza"_s << 0;
        QTest::newRow("3 no representative")
            << Campi{{u"LegNome"_s, QString()}} << true << 3 << vd << u"txtLegNome"_s << 0;
        QTest::newRow("4 birth place without province")
            << Campi{{u"LegComNasc"_s, u"TORINO"_s}} << true << 4 << vD << u"txtProvLeg"_s << 0;
        QTest::newRow("4 a foreign state needs none")
            << Campi{{u"LegComNasc"_s, u"FRANCIA"_s}} << false << 0 << QString() << QString() << -1;
        QTest::newRow("5 province without birth place")
            << Campi{{u"LegProvNasc"_s, u"TO"_s}} << true << 5 << vD << u"txtcomleg"_s << 0;
        QTest::newRow("6 only the CCIAA year")
            << Campi{{u"AnnoCCIAA"_s, u"1800"_s}} << true << 6 << vd << u"txtProvCC"_s << 1;
        QTest::newRow("7 CCIAA year 1900")
            << Campi{{u"ProvCCIAA"_s, u"TO"_s}, {u"CodCCIAA"_s, u"1"_s}, {u"AnnoCCIAA"_s, u"1900"_s}} << true
            << 7 << vd << u"txtAnnCC"_s << 1;
        QTest::newRow("7 a CCIAA year that is no whole number")
            << Campi{{u"ProvCCIAA"_s, u"TO"_s}, {u"CodCCIAA"_s, u"1"_s}, {u"AnnoCCIAA"_s, u","_s}} << true
            << 7 << vd << u"txtAnnCC"_s << 1;
        QTest::newRow("8 31 February")
            << Campi{{u"LegGGNasc"_s, u"31"_s}, {u"LegMMNasc"_s, u"02"_s}, {u"LegAAAANasc"_s, u"1980"_s}}
            << true << 8 << vd << u"txtGGLeg"_s << 0;
        QTest::newRow("8 partly filled") << Campi{{u"LegGGNasc"_s, u"01"_s}, {u"LegMMNasc"_s, u"01"_s}}
                                         << true << 8 << vd << u"txtGGLeg"_s << 0;
        QTest::newRow("9 born in 1900")
            << Campi{{u"LegGGNasc"_s, u"01"_s}, {u"LegMMNasc"_s, u"01"_s}, {u"LegAAAANasc"_s, u"1900"_s}}
            << true << 9 << vd << u"txtGGLeg"_s << 0;
        QTest::newRow("9 a two-digit year")
            << Campi{{u"LegGGNasc"_s, u"01"_s}, {u"LegMMNasc"_s, u"01"_s}, {u"LegAAAANasc"_s, u"99"_s}}
            << true << 9 << vd << u"txtGGLeg"_s << 0;
        QTest::newRow("10 only the day")
            << Campi{{u"GGPrece"_s, u"01"_s}} << true << 10 << vd << u"txtGGPrece"_s << 1;
        QTest::newRow("10 month and year only") << Campi{{u"MMPrece"_s, u"01"_s}, {u"AAAAPrece"_s, u"1980"_s}}
                                                << true << 10 << vd << u"txtGGPrece"_s << 1;
        QTest::newRow("11 previous application in 1900")
            << Campi{{u"GGPrece"_s, u"01"_s}, {u"MMPrece"_s, u"01"_s}, {u"AAAAPrece"_s, u"1900"_s}} << true
            << 11 << vd << u"txtAAAAPrece"_s << 1;
        QTest::newRow("12 a date alone")
            << Campi{{u"GGPrece"_s, u"01"_s}, {u"MMPrece"_s, u"03"_s}, {u"AAAAPrece"_s, u"2015"_s}} << true
            << 12 << vd << QString() << -1;
        QTest::newRow("12 the province alone")
            << Campi{{u"DomProv"_s, u"REGIONE VALDORIA"_s}} << true << 12 << vd << QString() << -1;
        QTest::newRow("13 directive year 1900") << con(precedente, {{u"AnnoDirettiva"_s, u"1900"_s}}) << true
                                                << 13 << vd << u"txtAnnoDirettiva"_s << 1;
        QTest::newRow("the first failure wins")
            << Campi{{u"LegNome"_s, QString()}, {u"AnnoCCIAA"_s, u"1800"_s}, {u"GGPrece"_s, u"01"_s}} << true
            << 3 << vd << u"txtLegNome"_s << 0;
    }

    void checks()
    {
        QFETCH(Campi, campi);
        QFETCH(bool, provinciaAbilitata);
        QFETCH(int, controllo);
        QFETCH(QString, titolo);
        QFETCH(QString, campo);
        QFETCH(int, scheda);

        SchedaOperatore s = schedaMinima();
        for (const auto &[nome, valore] : campi)
            imposta(s, nome, valore);
        const EsitoVerifica esito = VerifOperatore(s, provinciaAbilitata);
        QCOMPARE(esito.controllo, controllo);
        QCOMPARE(esito.titolo, titolo);
        QCOMPARE(esito.campo, campo);
        QCOMPARE(esito.scheda, scheda);
        QCOMPARE(esito.superata(), controllo == 0);
    }

    void checkMessages_data()
    {
        QTest::addColumn<Campi>("campi");
        QTest::addColumn<QString>("messaggio");

        QTest::newRow("1") << Campi{{u"DenominazioneOp"_s, QString()}}
                           << u"Inserire denominazione operatore"_s;
        QTest::newRow("2") << Campi{{u"Corrispondenza"_s, QString()}}
                           << u"Inserire il componente responsabile della corrispondenza"_s;
        QTest::newRow("3") << Campi{{u"LegNome"_s, QString()}} << u"Inserire il legale rappresentante"_s;
        QTest::newRow("4") << Campi{{u"LegComNasc"_s, u"X"_s}}
                           << u"Inserire la provincia di nascita del legale rappresentante"_s;
        QTest::newRow("5") << Campi{{u"LegProvNasc"_s, u"TO"_s}}
                           << u"Inserire il comune di nascita del legale rappresentante"_s;
        QTest::newRow("6") << Campi{{u"CodCCIAA"_s, u"1"_s}}
                           << u"Inserire tutti i dati relativi alla CCIAA"_s;
        QTest::newRow("7") << Campi{{u"ProvCCIAA"_s, u"TO"_s},
                                    {u"CodCCIAA"_s, u"1"_s},
                                    {u"AnnoCCIAA"_s, u"1"_s}}
                           << u"Anno di iscrizione CCIAA non valido: deve essere maggiore di 1900"_s;
        QTest::newRow("8") << Campi{{u"LegGGNasc"_s, u"1"_s}}
                           << u"Data di nascita del legale\r\nrappresentante non valida"_s;
        QTest::newRow("9")
            << Campi{{u"LegGGNasc"_s, u"1"_s}, {u"LegMMNasc"_s, u"1"_s}, {u"LegAAAANasc"_s, u"1800"_s}}
            << u"Data di nascita del legale\r\nrappresentante non valida: l'anno di nascita deve "
               u"essere maggiore di 1900"_s;
        QTest::newRow("10") << Campi{{u"AAAAPrece"_s, u"2000"_s}} << u"Data domanda precedente non valida "_s;
        QTest::newRow("11") << Campi{{u"GGPrece"_s, u"1"_s},
                                     {u"MMPrece"_s, u"1"_s},
                                     {u"AAAAPrece"_s, u"50"_s}}
                            << u"Data domanda precedente non valida: l'anno deve essere maggiore di 1900"_s;
        QTest::newRow("12")
            << Campi{{u"DomPrece"_s, u"4"_s}}
            << u"Per i dati riguardanti l'eventuale domanda precedente è obbligatorio\r\ncompilare "
               u"tutti i campi o non compilarne nessuno."_s;
        QTest::newRow("13")
            << Campi{{u"DomPrece"_s, u"44"_s},        {u"GGPrece"_s, u"01"_s},     {u"MMPrece"_s, u"03"_s},
                     {u"AAAAPrece"_s, u"2015"_s},     {u"DomProv"_s, u"TORINO"_s}, {u"Direttiva"_s, u"DIR"_s},
                     {u"AnnoDirettiva"_s, u"99999"_s}}
            << u"Anno Gestione della Direttiva su cui è stata presentata la domanda precedente "
               u"non valido: deve essere maggiore di 1900"_s;
    }

    void checkMessages()
    {
        QFETCH(Campi, campi);
        QFETCH(QString, messaggio);
        SchedaOperatore s = schedaMinima();
        for (const auto &[nome, valore] : campi)
            imposta(s, nome, valore);
        QCOMPARE(VerifOperatore(s, true).messaggio, messaggio);
    }

    void writesBothCopies()
    {
        BancoOperatore banco;
        SchedaOperatore s = CaricaDati(banco.riga()).scheda;
        s.DenominazioneOp = u"ENTE NUOVO"_s;
        s.TipoOper = u"02 - ASSOCIAZIONE"_s;
        s.Corrispondenza = u"    2 - SEDE OPERATIVA - SO - VIA PO 2"_s;
        s.AttEcono = u"300 - SERVIZI"_s;
        s.ContIBAN = QString();
        s.DomProv = u"REGIONE VALDORIA"_s;
        s.Direttiva = u"DIR 2"_s;

        const EsitoScrittura esito = scrivi(banco, s);
        QVERIFY(!esito.domandaCancellata);
        QVERIFY(!esito.registroMancante);

        const QueryResult domanda = banco.db.query(
            u"SELECT GrupOpe, Operatore, DenominazioneOp, TipoOper, Corrispondenza, LegNome, LegProvNasc, "
            u"ContIBAN, AttEcono, DomPROV, Direttiva, AAAAPrece, CodFisc, PROV FROM Domande WHERE NumDoma=7"_s);
        QCOMPARE(domanda.rows.front(),
                 (QVariantList{u"A"_s, 12, u"ENTE NUOVO"_s, u"02"_s, 2, u"ROSSI MARIO"_s, u"TO"_s, u""_s, 300,
                               u"REGIONE VALDORIA"_s, u"DIR 2"_s, u"2015"_s, u"CF"_s, u"001"_s}));
        const QueryResult registro = banco.db.query(u"SELECT Denominazione, TipoOper, Corrispondenza, "
                                                    u"LegNome, ContIBAN, AttEcono, AnnoCCIAA, CodFisc "
                                                    u"FROM CorsiOper WHERE GrupOpe='A' AND Operatore=12"_s);
        QCOMPARE(registro.rows.front(), (QVariantList{u"ENTE NUOVO"_s, u"02"_s, 2, u"ROSSI MARIO"_s, u""_s,
                                                      300, u"1990"_s, u"CF"_s}));
        QCOMPARE(banco.db.scalar(u"SELECT Denominazione FROM CorsiOper WHERE Operatore=13"_s), u"ENTE DUE"_s);
    }

    void emptyBoxesAreEmptyTextsAndTheBlankActivityIsZero()
    {
        BancoOperatore banco;
        SchedaOperatore s = schedaMinima();
        s.GrupOpe = u"A"_s;
        s.Operatore = u"12"_s;
        scrivi(banco, s);

        for (const QString &tabella : {u"Domande WHERE NumDoma=7"_s, u"CorsiOper WHERE Operatore=12"_s}) {
            const QueryResult riga = banco.db.query(
                u"SELECT typeof(LegComNasc), LegComNasc, typeof(TipoOper), AttEcono FROM "_s + tabella);
            QCOMPARE(riga.rows.front(), (QVariantList{u"text"_s, u""_s, u"text"_s, 0}));
        }
        QCOMPARE(banco.db.scalar(u"SELECT DomPROV FROM Domande WHERE NumDoma=7"_s), u""_s);
    }

    void aDeletedApplicationIsNotWrittenAgain()
    {
        BancoOperatore banco;
        const SchedaOperatore s = CaricaDati(banco.riga()).scheda;
        banco.db.execute(u"DELETE FROM Domande WHERE NumDoma=7"_s);
        banco.db.execute(u"UPDATE CorsiOper SET LegNome='PRIMA' WHERE Operatore=12"_s);

        const EsitoScrittura esito = scrivi(banco, s);
        QVERIFY(esito.domandaCancellata);
        QCOMPARE(banco.db.count(u"Domande"_s), 0);
        QCOMPARE(banco.db.scalar(u"SELECT LegNome FROM CorsiOper WHERE Operatore=12"_s), u"PRIMA"_s);
    }

    void aMissingRegistryRowLeavesTheApplicationWritten()
    {
        BancoOperatore banco;
        SchedaOperatore s = CaricaDati(banco.riga()).scheda;
        s.LegNome = u"BIANCHI"_s;
        banco.db.execute(u"DELETE FROM CorsiOper WHERE Operatore=12"_s);

        const EsitoScrittura esito = scrivi(banco, s);
        QVERIFY(esito.registroMancante);
        QCOMPARE(banco.db.scalar(u"SELECT LegNome FROM Domande WHERE NumDoma=7"_s), u"BIANCHI"_s);
        QCOMPARE(banco.db.count(u"CorsiOper"_s), 1);
    }

    void aFailingRegistryLeavesTheApplicationAsItWas()
    {
        BancoOperatore banco;
        SchedaOperatore s = CaricaDati(banco.riga()).scheda;
        s.LegNome = u"BIANCHI"_s;
        banco.db.execute(u"CREATE TRIGGER registroBloccato BEFORE UPDATE ON CorsiOper "
                         u"BEGIN SELECT RAISE(ABORT, 'registro bloccato'); END"_s);

        const RoutineError errore = errorOf([&] { scrivi(banco, s); });
        QVERIFY(errore.number() != 0);
        QCOMPARE(banco.db.scalar(u"SELECT LegNome FROM Domande WHERE NumDoma=7"_s), u"ROSSI MARIO"_s);
        QVERIFY(!banco.test.context().DE().CorsiDB().inTransaction());
    }
};

QTEST_GUILESS_MAIN(TestOperatore)
#include "tst_Operatore.moc"
