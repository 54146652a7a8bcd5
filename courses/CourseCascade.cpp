#include "courses/CourseCascade.h"

#include "core/services/ErrorBoxes.h"
#include "courses/ClassificationLists.h"

using namespace Qt::StringLiterals;
using namespace kx;

CourseCascade::CourseCascade(Connection &db, const Services &services, Lists lists, Hooks hooks,
                             bool readOnly)
    : m_db(db), m_services(services), m_lists(lists), m_hooks(std::move(hooks)), m_readOnly(readOnly)
{
}

template<typename Loader> QStringList CourseCascade::carica(const QString &routine, Loader &&loader)
{
    return runWithRetry(m_services, routine, std::forward<Loader>(loader));
}

void CourseCascade::caricaListe()
{
    m_lists.CmbCicloFin.fill(carica(u"IniCmbCicloFin"_s, [this] { return IniCmbCicloFin(m_db); }));
    m_lists.cmbAsse.fill(carica(u"IniAsse"_s, [this] { return IniAsse(m_db); }));
    m_lists.cmbMisura.fill(
        carica(u"IniMisura"_s, [this] { return IniMisura(m_db, m_lists.cmbAsse.text()); }));
    m_lists.cmbAzione.fill(carica(u"IniAzione"_s, [this] {
        return IniAzione(m_db, m_lists.cmbAsse.text(), m_lists.cmbMisura.text());
    }));
    m_lists.cmbDenCorso.fill(carica(u"IniDenCorso"_s, [this] { return IniDenCorso(m_db, m_codiceAzione); }));
    m_lists.cmbDest.fill(carica(u"IniDesta"_s, [this] { return IniDesta(m_db, m_codiceAzione); }));
}

void CourseCascade::cmbAsse_Click()
{
    m_lists.cmbMisura.fill(
        carica(u"IniMisura"_s, [this] { return IniMisura(m_db, m_lists.cmbAsse.text()); }));
    m_lists.cmbMisura.select(0);
}

void CourseCascade::cmbMisura_Click()
{
    m_lists.cmbAzione.fill(carica(u"IniAzione"_s, [this] {
        return IniAzione(m_db, m_lists.cmbAsse.text(), m_lists.cmbMisura.text());
    }));
    m_lists.cmbAzione.select(0);
}

void CourseCascade::cmbAzione_Click()
{
    m_codiceAzione = actionCode(m_lists.cmbAsse.text(), m_lists.cmbMisura.text(), m_lists.cmbAzione.text());
    m_lists.cmbDenCorso.fill(carica(u"IniDenCorso"_s, [this] { return IniDenCorso(m_db, m_codiceAzione); }));
    m_lists.cmbDenCorso.select(0);
    m_lists.cmbDest.fill(carica(u"IniDesta"_s, [this] { return IniDesta(m_db, m_codiceAzione); }));
    m_lists.cmbDest.select(0);
    if (!m_readOnly)
        m_hooks.switchReference(isSpecialAction(m_codiceAzione));
    m_lists.cmbDurata.fill(IniComp(m_codiceAzione));
}

void CourseCascade::cmbDenCorso_Click()
{
    m_hooks.showCourseName(m_lists.cmbDenCorso.text());
}

void CourseCascade::pulisciListe()
{
    m_lists.cmbAsse.select(0);
    for (CourseList *lista : {&m_lists.cmbMisura, &m_lists.cmbAzione, &m_lists.cmbDenCorso, &m_lists.cmbDest})
        lista->fill({QString()});
    m_lists.CmbCicloFin.select(0);
    m_lists.cmbDurata.fill({QString()});
    for (CourseList *lista :
         {&m_lists.cmbAsse, &m_lists.cmbMisura, &m_lists.cmbAzione, &m_lists.cmbDenCorso, &m_lists.cmbDest}) {
        if (lista->count() > 1)
            lista->select(1);
    }
}
