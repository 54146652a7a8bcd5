#pragma once

#include <QString>
#include <functional>

namespace kx {

/**
 * The start-up window as the reference-data installers use it: their progress window, shown without
 * waiting while they load.
 */
class ProgressoAvvio
{
public:
    virtual ~ProgressoAvvio() = default;
    /** Shows the window with its title (lblTitolo) and wait text (Label4), and paints it at once. */
    virtual void mostra(const QString &titolo, const QString &attesa) = 0;
    /** lblFile: the text file being loaded. */
    virtual void file(const QString &path) = 0;
    /** lblTabe: the table being loaded. */
    virtual void tabella(const QString &name) = 0;
    /** lblNRec: the records loaded so far. */
    virtual void record(const QString &count) = 0;
};

/**
 * The start-up's calls into subsystems built on top of it. Each does nothing until its subsystem
 * sets it (the program's main() wires them).
 */
struct StartupHooks
{
    /** Loads the main window hidden; its load checks the installation's role. Nothing when loaded. */
    std::function<void()> caricaMain;
    /** Loads the decode tables when a flag file asks for it. */
    std::function<void(ProgressoAvvio &)> installaTabelleDecodifica;
    /** Installs the operators' registry when it is empty; sets the first-installation flags. */
    std::function<void(ProgressoAvvio &)> installaAnagrafiche;
    /** Shows the main window modeless; its activation takes over. */
    std::function<void()> mostraMain;
    /** The frame's close box: ends the program as the main window's "Esci" does. */
    std::function<void()> chiudiMain;
};

} // namespace kx
