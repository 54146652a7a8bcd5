#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace kx {
class Connection;
struct Services;
} // namespace kx

/**
 * One of the course editor's drop-down lists as the cascade drives it. Filling leaves no entry
 * selected and runs nothing; selecting an entry runs the list's selection handling, which the window
 * wires to the cascade's handler of that list (as the list helper ListaSelezione does).
 */
class CourseList
{
public:
    /** Replaces the entries; no entry selected, nothing run. */
    virtual void fill(const QStringList &entries) = 0;
    virtual int count() const = 0;
    /** The shown text; empty when no entry is selected. */
    virtual QString text() const = 0;
    /** Selects the entry at the position (which exists) and runs the list's selection handling. */
    virtual void select(int index) = 0;

protected:
    ~CourseList() = default;
};

/** A list helper with the interface of ListaSelezione seen as a CourseList. */
template<typename Lista> class CourseListOf final : public CourseList
{
public:
    explicit CourseListOf(Lista &lista) : m_lista(lista) {}

    void fill(const QStringList &entries) override
    {
        m_lista.svuota();
        m_lista.riempi(entries);
    }
    int count() const override { return m_lista.conteggio(); }
    QString text() const override { return m_lista.testo(); }
    void select(int index) override { m_lista.selezionaIndice(index); }

private:
    Lista &m_lista;
};

/**
 * The cascade of the classification lists: an axis narrows the measures, a measure the actions, an
 * action fixes the action code and gives the course names, target groups and durations. The window
 * wires the selection of cmbAsse, cmbMisura, cmbAzione and cmbDenCorso to the handlers here (the
 * cycle's belongs to the reference picker, cmbDest's runs nothing). A loader that fails shows the
 * unexpected-error box under its name: Retry loads again, Cancel ends the program.
 */
class CourseCascade
{
public:
    struct Lists
    {
        CourseList &CmbCicloFin;
        CourseList &cmbAsse;
        CourseList &cmbMisura;
        CourseList &cmbAzione;
        CourseList &cmbDenCorso;
        CourseList &cmbDest;
        CourseList &cmbDurata;
    };

    /** What the cascade changes outside its lists, done by the window. */
    struct Hooks
    {
        /** The course name shown in the header (lblQuali). */
        std::function<void(const QString &name)> showCourseName;
        /**
         * After every action selection, unless the application is printed in final form: the free-text
         * reference disabled and emptied; for a special action the approved reference enabled and the
         * hours editable, the reference shown kept; for any other the approved reference disabled and
         * emptied with its hidden labels, and the hours locked.
         */
        std::function<void(bool specialAction)> switchReference;
    };

    CourseCascade(kx::Connection &db, const kx::Services &services, Lists lists, Hooks hooks, bool readOnly);

    /**
     * The opening: cycles, axes, every measure and action of the province, and the blank entry alone
     * for course names and target groups. Nothing selected.
     */
    void caricaListe();

    void cmbAsse_Click();
    void cmbMisura_Click();
    void cmbAzione_Click();
    void cmbDenCorso_Click();

    /**
     * The lists of a new course: the blank axis, the lower lists and the durations emptied to their
     * blank entry, the blank cycle, then the first real axis, measure, action, course name and target
     * group in turn. A list that holds only its blank entry stays on it; the checks report it. The
     * window empties its boxes and the reference first, so that the cycle's selection finds no
     * reference to ask about.
     */
    void pulisciListe();

    /** The action code of the last action selection; empty before the first. */
    const QString &codiceAzione() const { return m_codiceAzione; }

private:
    template<typename Loader> QStringList carica(const QString &routine, Loader &&loader);

    kx::Connection &m_db;
    const kx::Services &m_services;
    Lists m_lists;
    Hooks m_hooks;
    bool m_readOnly;
    QString m_codiceAzione;
};
