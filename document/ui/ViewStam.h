#pragma once

#include "document/ComposizioneDocumento.h"

#include <QDialog>
#include <functional>
#include <memory>
#include <optional>

namespace kx {
class Context;
} // namespace kx

namespace Ui {
class ViewStam;
}

/**
 * "Stampa": the window of one print run. Shown, it composes the document for the print type of the
 * context (the one course of the key for a single-course draft), shows the page being built, tells
 * the name of the PDF it made and closes. "Annulla", Esc or the close box stop the run: no PDF and
 * no message, the page files made so far stay in the program folder.
 */
class ViewStam : public QDialog
{
    Q_OBJECT

public:
    explicit ViewStam(kx::Context &context, std::optional<kx::ChiaveCorso> corso = std::nullopt,
                      QWidget *parent = nullptr);
    ~ViewStam() override;

    /** True once the run has written its PDF. */
    bool pdfCreato() const { return m_pdfCreato; }
    /** Called at the start of each page, after the window's events ran (tests press "Annulla" here). */
    void osservaPagine(std::function<void(int numero)> osservatore)
    {
        m_osservatore = std::move(osservatore);
    }

    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void esegui();
    void inizioPagina(int numero);
    void inizioPdf();

    std::unique_ptr<Ui::ViewStam> m_ui;
    kx::ComposizioneDocumento m_composizione;
    std::function<void(int)> m_osservatore;
    bool m_avviato = false;
    bool m_pdfCreato = false;
};
