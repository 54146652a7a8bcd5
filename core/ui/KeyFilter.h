#pragma once

#include <QObject>

class QLineEdit;

namespace kx {

struct Services;

/**
 * Puts a key filter on a line edit: typed keys go through TastoNumerico or TastoMaiuscolo, and
 * pasted or dropped text is filtered the same way, without boxes. Text the program sets is left as
 * it is, as the filter of typed keys never saw it.
 */
class KeyFilter : public QObject
{
public:
    enum class Kind
    {
        Numerico,
        Maiuscolo
    };

    /** Installs the filter; it lives as long as the line edit. */
    static void install(const Services &services, QLineEdit *lineEdit, Kind kind);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    KeyFilter(const Services &services, QLineEdit *lineEdit, Kind kind);

    const Services &m_services;
    Kind m_kind;
};

/**
 * Keeps what the user types, pastes or drops into the box within `limite` characters, as a maximum
 * length does: a paste inserts what fits. Text the program sets is taken as it is, so a longer stored
 * value can still be shortened, and edited as long as it does not grow.
 */
void LimitaDigitazione(QLineEdit *box, int limite);

} // namespace kx
