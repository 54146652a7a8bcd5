#pragma once

#include "core/startup/SequenzaAvvio.h"
#include "core/state/StartupHooks.h"

#include <QDialog>
#include <memory>

namespace kx {
class Context;
} // namespace kx
class MDI_Main;
class SplashScreen;

namespace Ui {
class Avvio;
}

/**
 * The start-up window: never shown by the start-up itself, only by the reference-data installers as
 * their progress window (title, wait text, file, table and record count).
 */
class Avvio : public QDialog, public kx::ProgressoAvvio
{
    Q_OBJECT

public:
    explicit Avvio(QWidget *parent = nullptr);
    ~Avvio() override;

    void mostra(const QString &titolo, const QString &attesa) override;
    void file(const QString &path) override;
    void tabella(const QString &name) override;
    void record(const QString &count) override;

private:
    std::unique_ptr<Ui::Avvio> m_ui;
};

/** The program's start-up windows: the splash, the first-run dialog, Avvio and the frame window. */
class AvvioWindows final : public kx::StartupWindows
{
public:
    explicit AvvioWindows(kx::Context &context);
    ~AvvioWindows() override;

    void mostraSplash() override;
    void chiudiSplash() override;
    void mostraImpostazioni() override;
    kx::ProgressoAvvio &avvio() override;
    void mostraFrame() override;
    void distruggiAvvio() override;

    /** The windows while they exist, for tests and screenshots. */
    SplashScreen *splash() const { return m_splash.get(); }
    Avvio *finestraAvvio() const { return m_avvio.get(); }
    MDI_Main *frame() const { return m_frame.get(); }

private:
    kx::Context &m_context;
    std::unique_ptr<SplashScreen> m_splash;
    std::unique_ptr<Avvio> m_avvio;
    std::unique_ptr<MDI_Main> m_frame;
};
