#include "courses/SeatCourses.h"

SeatCourses::SeatCourses(CourseStore &store, qint32 numDoma, qint32 sede)
    : m_store(store), m_numDoma(numDoma), m_sede(sede)
{
}

void SeatCourses::requery()
{
    const QString corrente = code();
    m_codici = m_store.seatCodes(m_numDoma, m_sede);
    m_posizione = -1;
    m_riga.reset();
    if (corrente.isEmpty() || !find(corrente))
        moveTo(0);
}

bool SeatCourses::moveTo(int position)
{
    if (position < 0 || position >= m_codici.size())
        return false;
    m_posizione = position;
    refresh();
    return true;
}

bool SeatCourses::find(const QString &code)
{
    const qsizetype i = m_codici.indexOf(code);
    return i >= 0 && moveTo(int(i));
}

void SeatCourses::refresh()
{
    m_riga = m_posizione < 0 ? std::nullopt : m_store.find(key());
}

std::optional<QString> neighbourAfterDelete(const QStringList &codes, const QString &code)
{
    const qsizetype i = codes.indexOf(code);
    if (i < 0)
        return std::nullopt;
    if (i + 1 < codes.size())
        return codes[i + 1];
    if (i > 0)
        return codes[i - 1];
    return std::nullopt;
}
