#pragma once

#include <QString>
#include <QVariant>
#include <exception>

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

/** Asked when another installation changed the row being saved after the window loaded it. */
inline const QString TestoRigaModificata =
    QStringLiteral("I dati sono stati modificati da un'altra postazione dopo l'apertura della finestra.\r\n"
                   "Sovrascriverli con quelli inseriti?");

/**
 * Thrown by a section's write, inside its transaction and before anything is written, when the row no
 * longer holds what the window loaded: another installation saved it meanwhile.
 */
class RigaModificataAltrove : public std::exception
{
public:
    const char *what() const noexcept override { return "riga modificata da un'altra postazione"; }
};

/** How a section's write treats a row that another installation changed after the window loaded it. */
enum class Scrittura
{
    /** Writes only while the row holds what the window loaded; otherwise RigaModificataAltrove. */
    SeInvariata,
    /** Writes over whatever the row holds. */
    Sovrascrivi
};

/**
 * Two stored values are the same: both Null, or both not Null with the same text, letter case and
 * blanks included.
 */
bool stessoValore(const QVariant &a, const QVariant &b);

/**
 * With `Scrittura::SeInvariata`, throws RigaModificataAltrove unless the row holds the values the
 * window loaded, column by column.
 */
void verificaRiga(Scrittura scrittura, const QVariantList &memorizzati, const QVariantList &caricati);

/** A box's text as a column value: an empty box is written as "", never as Null. */
QVariant valoreTesto(const QString &testo);
/** A number held as text in the state (the operator, a seat code); any other text is error 13. */
qint64 numeroDaTesto(const QString &testo);

/** The exit question: the window's changed-data line, then "Salvare le modifiche ?". */
QString testoDomandaUscita(const TestiSezione &testi);

/** The question asked when the row being saved was deleted by another installation. */
QString testoRigaCancellata(const TestiSezione &testi);
