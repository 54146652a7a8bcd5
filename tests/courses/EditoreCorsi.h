#pragma once

#include "WindowTesting.h"
#include "core/state/Context.h"
#include "core/ui/ImageButton.h"
#include "courses/ui/Corsi.h"
#include "tests/courses/BancoEditore.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <memory>

/** The course editor's window tests: its boxes, buttons and the editor over the fixture. */
namespace editore {

using Answer = kx::Prompt::Answer;

inline const QString NessunCorso = u"Nessun corso.\r\nVuoi inserirne uno ? "_s;
inline const QString NessunCorsoDopoCancellazione = u" Nessun corso \r\n Vuoi inserirne uno ? "_s;
inline const QString CorsoInserito = u"VERIFICHE OK\r\nCorso inserito"_s;
inline const QString CorsoDuplicato = u"Verifiche OK.\r\nCorso duplicato"_s;
inline const QString ConfermaCancellazione = u"Confermi cancellazione corso?"_s;
inline const QString DomandaUscita =
    u"Sono stati modificati uno o più dati del corso\r\nSalvare le modifiche ?"_s;
inline const QString SolaLettura =
    u"Domanda già inviata alla Provincia\r\nNon sarà possibile modificare i dati dei corsi"_s;
inline const QString Reinserire =
    u"Il record che si sta cercando di aggiornare è stato cancellato da un altro operatore.\r\nReinserire il record?"_s;
inline const QString Anomalia =
    u"Il corso che si sta cercando di visualizzare presenta delle anomalie.\r\n"
    u"Alcuni dati non sono più presenti negli elenchi: verificarli prima di salvare."_s;

inline const QStringList Azioni{u"cmdInserisci"_s, u"cmdDuplica"_s, u"cmdElimina"_s, u"cmdSalva"_s,
                                u"cmdStampa"_s,    u"cmdAiuto"_s,   u"cmdEsci"_s};
inline const QStringList Navigazione{u"cmdFirst"_s, u"cmdPrevious"_s, u"cmdNext"_s, u"cmdLast"_s,
                                     u"cmdVai"_s};

/** The editor over the fixture, opened and shown as SelComp shows it. */
struct Editore
{
    BancoEditore banco;
    std::unique_ptr<Corsi> finestra;

    explicit Editore(int sede = 2) { banco.sede(sede); }

    kx::Context &context() { return banco.test.context(); }
    ScriptedPrompt &prompt() { return banco.test.prompt; }

    /** Shows the editor and lets it come on screen, where it asks what it asks at its first activation. */
    void apri()
    {
        finestra = std::make_unique<Corsi>(context());
        finestra->show();
        if (!finestra->chiusa() && QTest::qWaitForWindowExposed(finestra.get()))
            QCoreApplication::processEvents();
    }
    QWidget *w() { return finestra.get(); }

    QString testo(const QString &nome)
    {
        if (auto *etichetta = w()->findChild<QLabel *>(nome))
            return etichetta->text();
        if (auto *box = w()->findChild<QLineEdit *>(nome))
            return box->text();
        return control<QComboBox>(w(), nome)->currentText();
    }
    void scrivi(const QString &nome, const QString &valore)
    {
        control<QLineEdit>(w(), nome)->setText(valore);
    }
    bool acceso(const QString &nome) { return control<QWidget>(w(), nome)->isEnabled(); }

    /** The enabled buttons of a set, each checked to show the picture of its state. */
    QStringList accesi(const QStringList &pulsanti)
    {
        QStringList elenco;
        for (const QString &nome : pulsanti) {
            auto *pulsante = control<kx::ImageButton>(w(), nome);
            const QString atteso =
                pulsante->isEnabled() ? pulsante->pictureName() : pulsante->pictureName() + u'D';
            if (pulsante->shownPicture() != atteso)
                throw UnexpectedCall(nome + u" shows "_s + pulsante->shownPicture());
            if (pulsante->isEnabled())
                elenco.append(nome);
        }
        return elenco;
    }

    /** The user picks the entry that begins with the text. */
    void scegli(const QString &nome, const QString &inizio)
    {
        QComboBox *lista = control<QComboBox>(w(), nome);
        for (int i = 0; i < lista->count(); ++i) {
            if (lista->itemText(i).startsWith(inizio)) {
                lista->setCurrentIndex(i);
                emit lista->activated(i);
                return;
            }
        }
        throw UnexpectedCall(nome + u" has no entry "_s + inizio);
    }

    /** What the user fills in a new blank course for it to pass the checks, the reference as the picker gives
     * it. */
    void compila(const QString &ore = u"50"_s)
    {
        scegli(u"CmbCicloFin"_s, u"2021"_s);
        scrivi(u"txtNumAll"_s, u"1"_s);
        scrivi(u"txtDurataOre"_s, ore);
        scegli(u"cmbDurata"_s, u"1"_s);
        control<QLabel>(w(), u"lblidattivita_CorsoRifB111"_s)->setText(u"4711"_s);
        scrivi(u"txtCorsoRifB111"_s, u"3 - 1 - 2 - CORSO APPROVATO DI RIFERIMENTO"_s);
    }
};

} // namespace editore
