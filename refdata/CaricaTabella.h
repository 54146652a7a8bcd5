#pragma once

#include "refdata/ElencoTabelle.h"

#include <QString>
#include <functional>

namespace kx {

class Context;
class ProgressoAvvio;

/** Where the table loader shows how far it got. */
class ProgressoCaricamento
{
public:
    virtual ~ProgressoCaricamento() = default;
    /** The file and the table about to be loaded, before the first record. */
    virtual void inizio(const QString &path, const QString &tabella) = 0;
    /** The records of the table stored so far. */
    virtual void record(const QString &tabella, qint64 caricati) = 0;
};

/** The progress in the start-up window: lblFile, lblTabe and lblNRec. */
class ProgressoAvvioTabella final : public ProgressoCaricamento
{
public:
    explicit ProgressoAvvioTabella(ProgressoAvvio &avvio) : m_avvio(avvio) {}
    void inizio(const QString &path, const QString &tabella) override;
    void record(const QString &tabella, qint64 caricati) override;

private:
    ProgressoAvvio &m_avvio;
};

/** The progress as one line, "Caricamento: " + table + " - " + records, for the main window's LblCont. */
class ProgressoRigaTabella final : public ProgressoCaricamento
{
public:
    explicit ProgressoRigaTabella(std::function<void(const QString &)> riga) : m_riga(std::move(riga)) {}
    void inizio(const QString &path, const QString &tabella) override;
    void record(const QString &tabella, qint64 caricati) override;

private:
    std::function<void(const QString &)> m_riga;
};

/** What the loader does after its error box. */
enum class SeCaricamentoFallisce
{
    /** The program ends. */
    Termina,
    /** With the command line "DEBUG", "Resume" and the failed step again, three times at most. */
    RiprovaInDebug
};

/**
 * Loads one decode-table file into its table. CR LF, CR or LF ends a line. The file's first line is
 * its header: "INSTALLAZIONE" or "AGGIORNAMENTO" (exactly) sets `InstallazioneTabelle`, which stays
 * for the next files; any other header leaves it. Every further line is a '#'-record whose field i
 * goes into column i, for the
 * first `colonne` columns (LOGO never): "NULL" in any case is Null, anything else is cut to 500
 * characters and stripped of blanks, a number column reading it by numericValueFromText. Install
 * mode empties the table and adds every record; update mode writes a record over the first row
 * whose key columns hold its key (bound values, never filter text) or adds it. A table without key
 * columns is loaded whole, as in install mode, from a file that holds records; in update mode a file
 * with its header line alone leaves it as it is.
 *
 * The table loads in one transaction: a failure leaves it as it was, shows the error box with the
 * record number, and ends the program (see SeCaricamentoFallisce). A missing file is skipped; an
 * empty one asks whether to go on with the other tables, No closing CorsiDB and ending the program.
 */
void CaricaTabellaDecodifica(Context &context, ProgressoCaricamento &progresso,
                             SeCaricamentoFallisce seFallisce, const QString &path, const QString &tabella,
                             int colonne, const QList<ChiaveTabella> &chiavi, bool &InstallazioneTabelle);

/** The loader at start-up: progress in the start-up window, the "Resume" retry in debug mode. */
void InstTabDecodifica(Context &context, ProgressoAvvio &Avvio, const QString &path, const QString &tabella,
                       int colonne, const QList<ChiaveTabella> &chiavi, bool &InstallazioneTabelle);

/** The loader of the update of the base data: progress in LblCont, the end of the program on failure. */
void AggTabDecodifica(Context &context, const std::function<void(const QString &)> &LblCont,
                      const QString &path, const QString &tabella, int colonne,
                      const QList<ChiaveTabella> &chiavi, bool &InstallazioneTabelle);

} // namespace kx
