#include "DemoDatabase.h"

#include "core/data/Connection.h"

using namespace Qt::StringLiterals;
using namespace kx;

void addDemoApplication(const QString &path)
{
    Connection connection;
    connection.open(path, Connection::Mode::Exclusive);
    Transaction transaction(connection);
    // The province is the legal seat's, Bologna.
    connection.execute(
        u"INSERT INTO Domande (NumDoma, GrupOpe, Operatore, PROV, Domanda, DenominazioneOp, TipoOper, "
        u"CodFisc, "
        u"PIva, LegNome, LegComNasc, LegProvNasc, LegGGNasc, LegMMNasc, LegAAAANasc, ProvCCIAA, CodCCIAA, "
        u"AnnoCCIAA, AttEcono, Corrispondenza, ContABI, ContDesBanca, ContCAB, ContAge, ContIndirAge, "
        u"ContNumCC, ContIntCC, ContIBAN, DomPrece, GGPrece, MMPrece, AAAAPrece, DomPROV, Direttiva, "
        u"AnnoDirettiva, DomandaStampata, DomandaTrasmessa) VALUES (2021001, 'A', 12, '037', 1, "
        u"'CENTRO FORMAZIONE EMILIA', '01', '01234560377', '01234560377', 'ROSSI MARIO', 'BOLOGNA', 'BO', "
        u"'01', '02', '1960', 'BO', '1234567', '1990', 8042, 1, '', '', '', '', '', '', '', NULL, "
        u"'', '', '', '', '', '', '', 0, 0)"_s);
    const QString sede =
        u"INSERT INTO CorsiSediInteressate (NumDoma, SedeInteressata, GrupOpe, Operatore, "
        u"TipoCompo, Denominazione, CodComune, Cap, Indirizzo, Tel, Fax, StatoEstero, "
        u"CittaEstero, Email, Riferimento) VALUES (2021001, ?, 'A', 12, ?, ?, ?, ?, ?, ?, ?, "
        u"'', '', '', '')"_s;
    connection.execute(sede, {1, u"SL"_s, u"SEDE LEGALE"_s, u"037006"_s, u"40121"_s, u"VIA INDIPENDENZA 1"_s,
                              u"051123456"_s, u"051123457"_s});
    // A second seat, so that courses can be moved between seats.
    connection.execute(sede, {2, u"SO"_s, u"SEDE OPERATIVA BOLOGNA NORD"_s, u"037006"_s, u"40128"_s,
                              u"VIA DI CORTICELLA 180"_s, u"051654321"_s, u""_s});
    // The financial cycles are no text-file table: the demo database brings them, the approved
    // courses of the demo server belonging to the first.
    for (const auto &[codice, descrizione] : {std::pair{u"2014-2020"_s, u"Programmazione 2014-2020"_s},
                                              std::pair{u"2021-2027"_s, u"Programmazione 2021-2027"_s}})
        connection.execute(u"INSERT INTO CicloFinanziario (CodCiclo, Descrizione) VALUES (?, ?)"_s,
                           {codice, descrizione});
    transaction.commit();
    connection.close();
}
