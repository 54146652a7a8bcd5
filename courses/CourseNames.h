#pragma once

#include <QString>

/**
 * The course names that carry rules of their own (limits and cost category). Names are compared by
 * their exact text; the three LARSA courses are known in two written forms, with and without a blank
 * after the dash, and either form counts.
 */
namespace NomiCorso {

inline const QString Handicap = QStringLiteral("Integrazione di persone portatrici di handicap");
inline const QString LinguaItaliana = QStringLiteral("Laboratori di lingua italiana");
inline const QString CittadinanzaAttiva = QStringLiteral("Laboratori di cittadinanza attiva");
inline const QString SostegnoIndividuale = QStringLiteral("Azione di sostegno individuale");

inline bool laboratorio(const QString &nome)
{
    return nome == LinguaItaliana || nome == CittadinanzaAttiva;
}

inline bool larsa(const QString &nome)
{
    for (const char16_t *resto :
         {u"Formazione / Scuola", u"Scuola / Formazione", u"Formazione / Formazione"}) {
        const QString parte = QString::fromUtf16(resto);
        if (nome == QStringLiteral("LARSA -") + parte || nome == QStringLiteral("LARSA - ") + parte)
            return true;
    }
    return false;
}

} // namespace NomiCorso
