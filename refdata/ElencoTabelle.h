#pragma once

#include <QList>
#include <QString>

namespace kx {

/** A key column of a decode table: its name and whether it holds text or a number. */
struct ChiaveTabella
{
    QString colonna;
    bool testo = true;
};

/** Which of the two runs loads a table. */
enum class RunTabelle
{
    /** InstallaTabelleDecodifica, at start-up. */
    Installa,
    /** AggiornaTabelleDecodifica, from the update of the base data. */
    Aggiorna
};

/**
 * A decode table as the runs load it: its name (and file, the name followed by ".txt"), its key
 * columns in order (the leading columns of the table), and how many leading columns each run writes;
 * 0 means that run does not load it.
 */
struct TabellaDecodifica
{
    QString nome;
    QList<ChiaveTabella> chiavi;
    int colonneInstalla = 0;
    int colonneAggiorna = 0;

    /** The columns written by the run, 0 when the run leaves the table alone. */
    int colonne(RunTabelle run) const
    {
        return run == RunTabelle::Installa ? colonneInstalla : colonneAggiorna;
    }
    /** The file of the table, in the program folder. */
    QString file() const { return nome + QStringLiteral(".txt"); }
};

/** Every decode table in the order the runs load them. */
const QList<TabellaDecodifica> &ElencoTabelleDecodifica();

} // namespace kx
