#pragma once

#include <QString>
#include <QVariant>

/**
 * What sets the three section windows apart (operator, legal seat, involved seats): caption, help
 * topic and the texts of their boxes. The frame they share shows these texts and nothing else.
 */
struct TestiSezione
{
    QString didascalia;
    int argomentoAiuto = 0;
    /** Title of the read-only warning and of the exit question. */
    QString titolo;
    QString avvisoSolaLettura;
    /** First line of the exit question. */
    QString datiModificati;
    /** How the deleted-row question names who deleted the row. */
    QString fineRigaCancellata;
    /** Information after a deleted row was written again. */
    QString reinserito;
};

const TestiSezione &testiOperator();
const TestiSezione &testiFrmSedeLeg();
const TestiSezione &testiComponen();

/** Title of every box of a save that met another installation's change or an error. */
inline const QString TitoloAccessoConcorrente = QStringLiteral("Accesso concorrente");

/** Warning of a save whose application another installation deleted meanwhile. */
inline const QString TestoDomandaCancellata =
    QStringLiteral("La domanda è stata cancellata da un'altra postazione. Impossibile salvare le modifiche.");
/** Information after a save whose registry row is missing: only the application's copy was written. */
inline const QString TestoRegistroMancante =
    QStringLiteral("Dati non presenti nell'anagrafica regionale: salvati solo i dati della domanda.");

/** A box's text as a column value: an empty box is written as "", never as Null. */
QVariant valoreTesto(const QString &testo);
/** A number held as text in the state (the operator, a seat code); any other text is error 13. */
qint64 numeroDaTesto(const QString &testo);

/** The exit question: the window's changed-data line, then "Salvare le modifiche ?". */
QString testoDomandaUscita(const TestiSezione &testi);

/** The question asked when the row being saved was deleted by another installation. */
QString testoRigaCancellata(const TestiSezione &testi);
