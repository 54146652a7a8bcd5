#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

namespace kx {
class Connection;
} // namespace kx

/**
 * The seat whose courses are edited, chosen in SelComp. A seat's entry is its code, the first 35
 * characters of its name, its seat type and its address joined by " - "; a Null column counts as "".
 */
QString voceSedeCorsi(const QVariant &sede, const QVariant &denominazione, const QVariant &tipoCompo,
                      const QVariant &indirizzo);

/** The entries of every seat of the application, by seat code. */
QStringList vociSediCorsi(kx::Connection &db, qint32 numDoma);

/** The entry of the lowest seat of the application that has courses; nothing when none has. */
std::optional<QString> sedeConCorsi(kx::Connection &db, qint32 numDoma);

/** The seat an entry names: its code (before the first " - ") and the rest as its description. */
struct SedeScelta
{
    QString sede;
    QString descrizione;
};

/** The seat of an entry; nothing for an empty entry (no seat chosen). */
std::optional<SedeScelta> sedeDaVoce(const QString &voce);
