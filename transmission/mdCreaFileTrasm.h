#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>

namespace kx {
class Context;
class RoutineError;
} // namespace kx

/**
 * The writer of the transmission file: one text file per application in the program folder, one
 * '#'-record per line, in the order Z, A, B, the C records, the E records, the F records and the end
 * line "#Z#,#EOF#". Each routine shows its own boxes; a file that is refused or not finished is
 * removed, so a file under a transmission name is always complete and checked.
 */
class mdCreaFileTrasm
{
public:
    explicit mdCreaFileTrasm(kx::Context &context);
    ~mdCreaFileTrasm();
    mdCreaFileTrasm(const mdCreaFileTrasm &) = delete;
    mdCreaFileTrasm &operator=(const mdCreaFileTrasm &) = delete;

    /**
     * Writes the file of the application and keeps its name in NomeFileTrasm. True when it was
     * written and passed the check; false after the writer's own boxes, with NomeFileTrasm empty.
     */
    bool CreaFile(qint32 NumDoma);
    /** The name of the file written and checked, or an empty text. */
    QString Nomina_e_Crea(qint32 NumDoma);
    /** The file's name, "KX58TORVA_<province>_<number>.<group><operator>", or empty. */
    QString NomeFile(qint32 NumDoma);
    /**
     * True when every line of the file in the program folder begins with a record tag. A CR, a CR LF
     * and a lone LF all end a line: the upload separates lines with LF. A missing file is error 53.
     */
    bool ControllaFile(const QString &nome);

private:
    bool ScriviRec_Z(qint32 NumDoma);
    bool ScriviRec_A(qint32 NumDoma);
    bool ScriviRec_B(qint32 NumDoma);
    bool ScriviRec_C(qint32 NumDoma);
    bool ScriviRec_E(qint32 NumDoma);
    bool ScriviRec_F(qint32 NumDoma);

    /** Runs a record writer's body: a run-time error shows the writer's error box and gives false. */
    bool eseguiScrittore(const QString &routine, const std::function<bool()> &corpo);
    /**
     * In debug mode a failing step of records E and F is shown as "Resume" and run again, at most
     * RipreseInDebug times; then its error goes on to the writer's box.
     */
    void passoRipetibile(const std::function<void()> &passo);
    /** The writer's refusal of missing rows: a critical box under the writer's title. */
    bool rifiuta(const QString &routine, const QString &testo);
    void erroreDiEsecuzione(const QString &routine, const kx::RoutineError &errore);
    /** The common fields 1 to 7 of records A to F. */
    QStringList campiComuni(const QString &lettera, qint32 NumDoma, const QVariant &grupOpe,
                            const QVariant &operatore) const;
    /** Appends one record, its date last, and notes a field the format cannot carry. */
    void scriviRiga(QStringList campi, bool conData = true);
    /** Drops the text being written and removes a file left under its name by an earlier run. */
    void scartaFile(const QString &percorso);

    kx::Context &m_context;
    /** The file's bytes, put in place whole once they are complete and checked. */
    QByteArray m_testo;
    QString m_dataTrasm;
    /** The application's operator, kept by the name step for record Z. */
    QString m_grupOpe;
    qint32 m_operatore = 0;
    bool m_campoConCancelletto = false;
    bool m_campoConControllo = false;
};

/** The writer's entry for the send windows: mdCreaFileTrasm(context).CreaFile(NumDoma). */
bool CreaFile(kx::Context &context, qint32 NumDoma);
