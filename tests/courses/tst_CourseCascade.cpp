#include "core/ui/ListaSelezione.h"
#include "courses/CourseCascade.h"
#include "tests/courses/BancoCorsi.h"

#include <QComboBox>
#include <QTest>
#include <array>

using namespace kx;

namespace {

/** The list helper over a combo, noting every refill in the shared log. */
class ListaRegistrata final : public CourseList
{
public:
    ListaRegistrata(const QString &nome, QStringList &log, std::function<void()> selezione)
        : m_nome(nome), m_log(log), m_lista(&m_combo, [this, selezione] {
              m_log.append(m_nome + u"_Click"_s);
              if (selezione)
                  selezione();
          })
    {
        m_combo.setObjectName(nome);
    }

    void fill(const QStringList &entries) override
    {
        m_log.append(u"fill "_s + m_nome);
        m_adapter.fill(entries);
    }
    int count() const override { return m_adapter.count(); }
    QString text() const override { return m_adapter.text(); }
    void select(int index) override { m_adapter.select(index); }

    ListaSelezione &lista() { return m_lista; }
    int indice() const { return m_lista.indice(); }
    QStringList voci() const
    {
        QStringList voci;
        for (int i = 0; i < m_lista.conteggio(); ++i)
            voci.append(m_lista.voce(i));
        return voci;
    }

private:
    QString m_nome;
    QStringList &m_log;
    QComboBox m_combo;
    ListaSelezione m_lista;
    CourseListOf<ListaSelezione> m_adapter{m_lista};
};

/** The editor's seven cascading lists over the fixture, wired as the window wires them. */
struct Editor
{
    explicit Editor(bool solaLettura = false) : Editor(std::make_unique<BancoCorsi>(), solaLettura) {}
    Editor(std::unique_ptr<BancoCorsi> b, bool solaLettura)
        : banco(std::move(b)),
          cascata(banco->connessione(), banco->test.context(),
                  {ciclo, asse, misura, azione, denCorso, dest, durata},
                  {[this](const QString &nome) {
                       log.append(u"lblQuali "_s + nome);
                       lblQuali = nome;
                   },
                   [this](bool speciale) {
                       log.append(speciale ? u"riferimento speciale"_s : u"riferimento"_s);
                   }},
                  solaLettura)
    {
    }

    std::unique_ptr<BancoCorsi> banco;
    QStringList log;
    QString lblQuali = u"design"_s;
    ListaRegistrata ciclo{u"CmbCicloFin"_s, log, nullptr};
    ListaRegistrata asse{u"cmbAsse"_s, log, [this] { cascata.cmbAsse_Click(); }};
    ListaRegistrata misura{u"cmbMisura"_s, log, [this] { cascata.cmbMisura_Click(); }};
    ListaRegistrata azione{u"cmbAzione"_s, log, [this] { cascata.cmbAzione_Click(); }};
    ListaRegistrata denCorso{u"cmbDenCorso"_s, log, [this] { cascata.cmbDenCorso_Click(); }};
    ListaRegistrata dest{u"cmbDest"_s, log, nullptr};
    ListaRegistrata durata{u"cmbDurata"_s, log, nullptr};
    CourseCascade cascata;

    /** The user picks an entry by its text. */
    void scegli(ListaRegistrata &lista, const QString &voce)
    {
        log.clear();
        QVERIFY(lista.lista().selezionaTesto(voce));
    }
};

const QStringList TutteLeMisure{u""_s, u"8II  ORIENTAMENTO"_s, u"8III  TIROCINI"_s, u"9I  SOSTEGNO"_s,
                                u"G  SENZA AZIONI"_s};
const QStringList TutteLeAzioni{u""_s, u"2.04.07  LARSA"_s, u"2.04.08  LABORATORI"_s, u"1.01  TIROCINIO"_s,
                                u"7.01.01  SOSTEGNI"_s};

/** What a selection of the action runs, after the lists above it. */
QStringList catenaAzione(const QString &nome, const QString &riferimento)
{
    return {u"fill cmbDenCorso"_s, u"cmbDenCorso_Click"_s, u"lblQuali "_s + nome,
            u"fill cmbDest"_s,     u"cmbDest_Click"_s,     riferimento,
            u"fill cmbDurata"_s};
}

} // namespace

class TestCourseCascade : public QObject
{
    Q_OBJECT

private slots:
    void theOpeningFillsEveryListAndSelectsNothing()
    {
        Editor e;
        e.cascata.caricaListe();
        QCOMPARE(e.log, (QStringList{u"fill CmbCicloFin"_s, u"fill cmbAsse"_s, u"fill cmbMisura"_s,
                                     u"fill cmbAzione"_s, u"fill cmbDenCorso"_s, u"fill cmbDest"_s}));
        QCOMPARE(e.ciclo.voci().size(), 3);
        QCOMPARE(e.asse.voci().size(), 4);
        QCOMPARE(e.misura.voci(), TutteLeMisure);
        QCOMPARE(e.azione.voci(), TutteLeAzioni);
        QCOMPARE(e.denCorso.voci(), QStringList{u""_s});
        QCOMPARE(e.dest.voci(), QStringList{u""_s});
        for (const ListaRegistrata *lista : {&e.ciclo, &e.asse, &e.misura, &e.azione, &e.denCorso, &e.dest})
            QCOMPARE(lista->indice(), -1);
        QVERIFY(e.cascata.codiceAzione().isEmpty());
    }

    void anAxisRunsTheWholeChainInOrder()
    {
        Editor e;
        e.cascata.caricaListe();
        e.scegli(e.asse, u"1  OCCUPAZIONE"_s);
        QCOMPARE(e.log, QStringList({u"cmbAsse_Click"_s, u"fill cmbMisura"_s, u"cmbMisura_Click"_s,
                                     u"fill cmbAzione"_s, u"cmbAzione_Click"_s}) +
                            catenaAzione(QString(), u"riferimento"_s));
        QCOMPARE(e.misura.voci(), (QStringList{u""_s, u"8II  ORIENTAMENTO"_s, u"8III  TIROCINI"_s}));
        QCOMPARE(e.azione.voci(),
                 (QStringList{u""_s, u"2.04.07  LARSA"_s, u"2.04.08  LABORATORI"_s, u"1.01  TIROCINIO"_s}));
        QCOMPARE(e.cascata.codiceAzione(), u"1.."_s);
        QCOMPARE(e.denCorso.voci(), QStringList{u""_s});
        QCOMPARE(e.durata.voci(), QStringList{u""_s});
        for (const ListaRegistrata *lista : {&e.misura, &e.azione, &e.denCorso, &e.dest})
            QCOMPARE(lista->indice(), 0);
        QCOMPARE(e.durata.indice(), -1);
        QCOMPARE(e.lblQuali, QString());
    }

    void aSpecialActionGivesItsNamesGroupsAndDuration()
    {
        Editor e;
        e.cascata.caricaListe();
        e.scegli(e.asse, u"1  OCCUPAZIONE"_s);
        e.scegli(e.misura, u"8II  ORIENTAMENTO"_s);
        QCOMPARE(e.log, QStringList({u"cmbMisura_Click"_s, u"fill cmbAzione"_s, u"cmbAzione_Click"_s}) +
                            catenaAzione(QString(), u"riferimento"_s));
        e.scegli(e.azione, u"2.04.07  LARSA"_s);
        QCOMPARE(e.log,
                 QStringList{u"cmbAzione_Click"_s} + catenaAzione(QString(), u"riferimento speciale"_s));
        QCOMPARE(e.cascata.codiceAzione(), u"1.8II.2.04.07"_s);
        QCOMPARE(e.denCorso.voci().size(), 3);
        QCOMPARE(e.dest.voci(), (QStringList{u""_s, u"1  STUDENTI"_s, u"12  DISABILI"_s}));
        QCOMPARE(e.durata.voci(), (QStringList{u""_s, u"1"_s}));
        QCOMPARE(e.durata.indice(), -1);

        e.scegli(e.denCorso, u"LARSA - Formazione / Scuola"_s);
        QCOMPARE(e.log, (QStringList{u"cmbDenCorso_Click"_s, u"lblQuali LARSA - Formazione / Scuola"_s}));
        QCOMPARE(e.lblQuali, u"LARSA - Formazione / Scuola"_s);
    }

    void aChangeOfAxisPutsTheLowerListsBackOnTheirBlankEntries()
    {
        Editor e;
        e.cascata.caricaListe();
        e.scegli(e.asse, u"1  OCCUPAZIONE"_s);
        e.scegli(e.misura, u"8II  ORIENTAMENTO"_s);
        e.scegli(e.azione, u"2.04.07  LARSA"_s);
        e.scegli(e.denCorso, u"LARSA - Formazione / Scuola"_s);
        e.scegli(e.asse, u"2  INCLUSIONE"_s);
        QVERIFY(e.log.contains(u"riferimento"_s));
        QCOMPARE(e.misura.voci(), (QStringList{u""_s, u"9I  SOSTEGNO"_s}));
        QCOMPARE(e.azione.voci(), (QStringList{u""_s, u"7.01.01  SOSTEGNI"_s}));
        QCOMPARE(e.cascata.codiceAzione(), u"2.."_s);
        QCOMPARE(e.denCorso.voci(), QStringList{u""_s});
        QCOMPARE(e.dest.voci(), QStringList{u""_s});
        QCOMPARE(e.durata.voci(), QStringList{u""_s});
        QCOMPARE(e.lblQuali, QString());
    }

    void theEmptyAxisOffersEveryMeasureAndAction()
    {
        Editor e;
        e.cascata.caricaListe();
        e.scegli(e.asse, u"1  OCCUPAZIONE"_s);
        e.scegli(e.asse, QString());
        QCOMPARE(e.misura.voci(), TutteLeMisure);
        QCOMPARE(e.azione.voci(), TutteLeAzioni);
        QCOMPARE(e.cascata.codiceAzione(), u".."_s);
        QCOMPARE(e.denCorso.voci(), QStringList{u""_s});
        QCOMPARE(e.log.last(), u"fill cmbDurata"_s);
        QVERIFY(e.log.contains(u"riferimento"_s));
    }

    void aPrintedApplicationKeepsItsReferenceControls()
    {
        Editor e(true);
        e.cascata.caricaListe();
        e.scegli(e.asse, u"2  INCLUSIONE"_s);
        e.scegli(e.misura, u"9I  SOSTEGNO"_s);
        e.scegli(e.azione, u"7.01.01  SOSTEGNI"_s);
        QCOMPARE(e.log,
                 (QStringList{u"cmbAzione_Click"_s, u"fill cmbDenCorso"_s, u"cmbDenCorso_Click"_s,
                              u"lblQuali "_s, u"fill cmbDest"_s, u"cmbDest_Click"_s, u"fill cmbDurata"_s}));
        QCOMPARE(e.durata.voci(), (QStringList{u""_s, u"1"_s}));
    }

    void aNewCourseStartsOnTheFirstEntries()
    {
        Editor e;
        e.cascata.caricaListe();
        e.scegli(e.asse, u"2  INCLUSIONE"_s);
        e.scegli(e.misura, u"9I  SOSTEGNO"_s);
        e.scegli(e.azione, u"7.01.01  SOSTEGNI"_s);
        e.cascata.pulisciListe();
        QCOMPARE(e.ciclo.indice(), 0);
        QCOMPARE(e.asse.lista().testo(), u"1  OCCUPAZIONE"_s);
        QCOMPARE(e.misura.lista().testo(), u"8II  ORIENTAMENTO"_s);
        QCOMPARE(e.azione.lista().testo(), u"2.04.07  LARSA"_s);
        QCOMPARE(e.denCorso.indice(), 1);
        QCOMPARE(e.lblQuali, e.denCorso.lista().testo());
        QCOMPARE(e.dest.lista().testo(), u"1  STUDENTI"_s);
        QCOMPARE(e.cascata.codiceAzione(), u"1.8II.2.04.07"_s);
        QCOMPARE(e.durata.voci(), (QStringList{u""_s, u"1"_s}));
        QCOMPARE(e.durata.indice(), -1);
    }

    void aListHoldingOnlyItsBlankEntryStaysOnIt()
    {
        auto banco = std::make_unique<BancoCorsi>();
        banco->db.execute(u"DELETE FROM Prov_Azione WHERE CodMisura = '8II'"_s);
        Editor e(std::move(banco), false);
        e.cascata.caricaListe();
        e.cascata.pulisciListe();
        QCOMPARE(e.misura.lista().testo(), u"8II  ORIENTAMENTO"_s);
        QCOMPARE(e.azione.voci(), QStringList{u""_s});
        for (const ListaRegistrata *lista : {&e.azione, &e.denCorso, &e.dest})
            QCOMPARE(lista->indice(), 0);
        QCOMPARE(e.cascata.codiceAzione(), u"1.8II."_s);
    }
};

QTEST_MAIN(TestCourseCascade)
#include "tst_CourseCascade.moc"
