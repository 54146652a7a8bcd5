#include "document/ComposizioneDocumento.h"

#include "core/data/DataEnvironment.h"
#include "core/data/Recordset.h"
#include "core/files/ProgramFolder.h"
#include "core/services/ErrorBoxes.h"
#include "core/state/Context.h"
#include "core/state/CourseEditorState.h"
#include "core/state/CurrentApplication.h"
#include "core/state/PrintRequest.h"
#include "core/state/Ricerche.h"
#include "core/text/TextRoutines.h"
#include "core/text/Values.h"
#include "document/OperazioniPagina.h"
#include "document/TestiPagina.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace kx {

namespace {

/** A page error that the run does not survive: printing the document is not possible (482). */
constexpr int ErroreStampante = 482;

/** Ends the whole-application composition without its PDF: a view was found closed (3704). */
struct ComposizioneInterrotta
{
};

const QString TitoloErrorePagina = u"Errore in fase di stampa"_s;

QString filtroDomanda(qint32 numDoma)
{
    return u"NumDoma="_s + QString::number(numDoma);
}

/** A fill's value: the column of the recordset's current row through the field-to-text rule. */
std::function<QString()> campo(Recordset &recordset, const QString &colonna)
{
    return [&recordset, colonna] { return TestoDaCampo(recordset.value(colonna)); };
}

void riapri(Recordset &recordset)
{
    if (recordset.isOpen())
        recordset.close();
    recordset.open();
}

} // namespace

QString testoVersione(const QString &versione)
{
    return u"(ver. "_s + versione + u')';
}

QString nomeFilePdf(const QString &grupOpe, const QString &operatore, const QString &sigProv, qint32 numDoma,
                    const QString &tipoStampa)
{
    return u"KX58TORVA-"_s + grupOpe + operatore + u'-' + sigProv + u"-Domanda"_s + QString::number(numDoma) +
           u'-' + tipoStampa + u".pdf"_s;
}

ComposizioneDocumento::ComposizioneDocumento(Context &context, std::optional<ChiaveCorso> corso)
    : DataStampa(context.clock.now().date().toString(u"dd/MM/yyyy"_s)),
      TestoVersione(testoVersione(context.versione())), m_context(context), m_corso(std::move(corso)),
      m_engine(context), m_documentoPdf(context)
{
}

QString ComposizioneDocumento::percorsoModello(const QString &modello) const
{
    return m_context.programFolder().resolve(modello);
}

QString ComposizioneDocumento::percorsoPdf()
{
    const CurrentApplication &domanda = m_context.domanda();
    const QString sigProv = RecuperaSigProv(m_context, domanda.ProvCorrente);
    for (const QString &parte : {domanda.GrupOpeCorrente, domanda.OperatoreCorrente, sigProv}) {
        if (!isPlainNamePart(parte))
            throw RoutineError(ErrorCode::InvalidProcedureCall,
                               u"Il dato \""_s + parte + u"\" non può far parte del nome del file PDF"_s);
    }
    return m_context.programFolder().resolve(nomeFilePdf(domanda.GrupOpeCorrente, domanda.OperatoreCorrente,
                                                         sigProv, domanda.NumDomaCorrente,
                                                         m_context.stampa().TipoStampa));
}

// The run ------------------------------------------------------------------------------------------

bool ComposizioneDocumento::esegui()
{
    const QString tipo = m_context.stampa().TipoStampa;
    const bool bozzaCorso = tipo == TipiStampa::BozzaCorso;
    const QStringList modelli =
        bozzaCorso ? QStringList{ModelliPagina::Corso}
                   : QStringList{ModelliPagina::Riepilogo, ModelliPagina::SecondaPagina,
                                 ModelliPagina::Operatore, ModelliPagina::Sede, ModelliPagina::Corso};
    for (const QString &modello : modelli) {
        const QString percorso = percorsoModello(modello);
        if (!QFileInfo::exists(percorso)) {
            erroreGenerico(RoutineError(ErrorCode::FileNotFound,
                                        RoutineError::standardDescription(ErrorCode::FileNotFound) + u": "_s +
                                            percorso));
            return false;
        }
    }
    try {
        m_percorsoPdf = percorsoPdf();
    } catch (const RoutineError &error) {
        erroreGenerico(error);
        return false;
    }

    m_engine.start();
    bool creato = false;
    try {
        if (bozzaCorso)
            creato = StampaBozzaCorso();
        else if (tipo == TipiStampa::Bozza || tipo == TipiStampa::Originale)
            creato = StampaDomanda();
        m_engine.quit();
    } catch (const RoutineError &error) {
        if (error.number() == ErrorCode::ObjectNotSet)
            return false;
        if (error.number() == ErroreStampante) {
            annulla();
            m_documentoPdf.CancellaPagine();
            m_context.prompt.warn(u"Errore di stampa"_s, u"Controllare la stampante."_s);
            return false;
        }
        erroreGenerico(error);
        return false;
    }
    if (!creato) {
        m_documentoPdf.CancellaPagine();
        return false;
    }
    m_context.prompt.inform(u"Compilazione File di stampa"_s,
                            u"E' stato creato il file "_s + m_documentoPdf.FilePDF() + u'.');
    return true;
}

void ComposizioneDocumento::annulla()
{
    if (m_engine.running())
        m_engine.quit();
}

void ComposizioneDocumento::erroreGenerico(const RoutineError &error)
{
    annulla();
    m_documentoPdf.CancellaPagine();
    m_context.prompt.warn(u"Errore generico"_s, testoErroreCaricamento(error));
}

/**
 * Under the whole-application run's handling: in debug mode the error's description and the step
 * again (a bounded number of times); a closed view (3704) ends the composition without the PDF; a
 * connection that could not be used (3709) is tried once more, as the recordsets find the connection
 * again by themselves; anything else the unexpected-error box, whose Retry runs the step again.
 */
template<typename Step> auto ComposizioneDocumento::passoStampa(Step &&step) -> decltype(step())
{
    bool ritentato = false;
    for (int ripetizioni = 0;; ++ripetizioni) {
        try {
            return step();
        } catch (const RoutineError &error) {
            if (m_context.modalitaDebug() && ripetizioni < RipetizioniDebug) {
                m_context.prompt.ask(Prompt::Icon::None, Prompt::Buttons::Ok, QString(), error.description());
                continue;
            }
            if (error.number() == ErrorCode::ObjectClosed)
                throw ComposizioneInterrotta{};
            if (error.number() == ErrorCode::ConnectionClosed && !ritentato) {
                ritentato = true;
                continue;
            }
            offerRetryOrExit(m_context, QString(), error);
        }
    }
}

bool ComposizioneDocumento::StampaDomanda()
{
    DataEnvironment &de = m_context.DE();
    Recordset &domande = de.rs(u"QryDomande"_s);
    Recordset &sedi = de.rs(u"QrySediIntCorsi"_s);
    Recordset &corsi = de.rs(u"QryCorsi"_s);
    const qint32 numDoma = m_context.domanda().NumDomaCorrente;
    CourseEditorState &sede = m_context.corsi();
    const auto apriSedi = [&] {
        riapri(sedi);
        sedi.setFilter(filtroDomanda(numDoma));
        return sedi.eof();
    };
    try {
        passoStampa([&] {
            riapri(domande);
            domande.setFilter(filtroDomanda(numDoma));
            ContatorePagine = 0;
        });
        ++ContatorePagine;
        CreaPaginaRiepilogo();
        ++ContatorePagine;
        CreaSecondaPagina();
        ++ContatorePagine;
        CreaPaginaOperatore();
        passoStampa([&] {
            domande.close();
            domande.clearFilter();
        });

        for (bool fine = passoStampa(apriSedi); !fine; fine = passoStampa([&] {
                                                           sedi.moveNext();
                                                           return sedi.eof();
                                                       })) {
            ++ContatorePagine;
            CreaPaginaSede(sedi);
        }
        passoStampa([&] {
            sedi.clearFilter();
            sedi.close();
        });

        passoStampa([&] { riapri(corsi); });
        if (!sede.SedeCorrente.isEmpty()) {
            passoStampa([&] { corsi.setFilter(sede.FiltroSedeCorrente); });
            StampaCorsiSede(corsi);
        } else {
            for (bool fine = passoStampa(apriSedi); !fine; fine = passoStampa([&] {
                                                               sedi.moveNext();
                                                               return sedi.eof();
                                                           })) {
                passoStampa([&] {
                    sede.SedeCorrente = NonNull(sedi.value(u"SedeInteressata"_s));
                    sede.FiltroSedeCorrente =
                        filtroDomanda(numDoma) + u" AND SedeInteressata="_s + sede.SedeCorrente;
                    corsi.setFilter(sede.FiltroSedeCorrente);
                });
                StampaCorsiSede(corsi);
            }
            passoStampa([&] {
                sedi.close();
                sedi.clearFilter();
            });
        }
        passoStampa([&] {
            corsi.close();
            corsi.clearFilter();
        });
    } catch (const ComposizioneInterrotta &) {
        return false;
    }
    return componiPdf();
}

void ComposizioneDocumento::StampaCorsiSede(Recordset &corsi)
{
    for (bool fine = passoStampa([&] {
             corsi.setSort(u"Corso"_s);
             return corsi.eof();
         });
         !fine; fine = passoStampa([&] {
                    corsi.moveNext();
                    return corsi.eof();
                })) {
        ++ContatorePagine;
        CreaPaginaCorso(corsi);
    }
}

bool ComposizioneDocumento::StampaBozzaCorso()
{
    std::optional<Recordset> proprio;
    Recordset *corsi = &m_context.DE().rs(u"QryCorsi"_s);
    if (m_corso) {
        proprio.emplace(m_context.DE().CorsiDB());
        proprio->open(u"SELECT * FROM QryCorsi WHERE NumDoma = ? AND SedeInteressata = ? AND Corso = ?"_s,
                      {m_corso->numDoma, m_corso->sede.toInt(), m_corso->corso});
        corsi = &*proprio;
    }
    if (corsi->eof())
        throw RoutineError(ErrorCode::NoCurrentRecord);
    ContatorePagine = 1;
    CreaPaginaCorso(*corsi);
    return componiPdf();
}

bool ComposizioneDocumento::componiPdf()
{
    if (!m_engine.running())
        return false;
    if (inizioPdf)
        inizioPdf();
    m_documentoPdf.setFilePDF(m_percorsoPdf);
    m_documentoPdf.setTotPagine(ContatorePagine);
    return m_documentoPdf.CreatePDF();
}

// The page frame -----------------------------------------------------------------------------------

void ComposizioneDocumento::pagina(const QString &modello, ErroriPagina errori, const QList<Passo> &propri)
{
    if (inizioPagina)
        inizioPagina(ContatorePagine);
    QList<Passo> passi{
        [this, modello] { m_engine.open(percorsoModello(modello)); },
        [this] { CompilaIntestazione(m_context.stampa().TipoStampa); },
    };
    passi += propri;
    passi += {
        [this] {
            PageDocument &documento = m_engine.activeDocument();
            const int segnalibri = documento.bookmarkCount();
            for (int i = 0; i < segnalibri; ++i)
                documento.deleteFirstBookmark();
        },
        [this] { m_documentoPdf.SaveTmpRTF(m_engine, ContatorePagine); },
        [this] { m_engine.closeAll(); },
    };
    for (const Passo &passo : std::as_const(passi))
        if (!eseguiPasso(errori, passo))
            return;
}

bool ComposizioneDocumento::eseguiPasso(ErroriPagina errori, const Passo &passo)
{
    bool ritentato = false;
    for (int ripetizioni = 0;; ++ripetizioni) {
        try {
            passo();
            return true;
        } catch (const RoutineError &error) {
            const int numero = error.number();
            if (numero == ErrorCode::ObjectNotSet || numero == ErrorCode::ServerUnavailable)
                return false;
            if (errori == ErroriPagina::Corso && m_context.modalitaDebug() &&
                ripetizioni < RipetizioniDebug) {
                m_context.prompt.ask(Prompt::Icon::None, Prompt::Buttons::Ok, QString(), error.description());
                continue;
            }
            if (numero == ErrorCode::InvalidUseOfNull && errori == ErroriPagina::Cornice)
                return true;
            // The views reach the connection by themselves: one more try finds it when it is back.
            if (numero == ErrorCode::ConnectionClosed && errori != ErroriPagina::Corso && !ritentato) {
                ritentato = true;
                continue;
            }
            m_context.prompt.critical(TitoloErrorePagina,
                                      QString::number(numero) + u"\r\n"_s + error.description());
            return true;
        }
    }
}

void ComposizioneDocumento::CompilaIntestazione(const QString &tipoStampa)
{
    const QString arial = u"Arial"_s;
    SostituisciSegnaposto(m_engine, QString::number(m_context.domanda().NumDomaCorrente), u"<NumDoma>"_s,
                          arial, 10, true, false);
    SostituisciSegnaposto(m_engine, DataStampa, u"<Data>"_s, arial, 10, false, false);
    SostituisciSegnaposto(m_engine, TestoVersione, u"<ver>"_s, u"Times New Roman"_s, 10, false, false);
    SostituisciSegnaposto(m_engine, tipoStampa, u"<TIPOSTAMPA>"_s, arial, 10, true, false);
    ScriviNumeroPagina(m_engine, VistaPagina::PiePagina, u' ' + QString::number(ContatorePagine),
                       AllineamentoParagrafo::Centrato, QString());
}

QList<ComposizioneDocumento::Passo> ComposizioneDocumento::riempi(const QString &segnaposto,
                                                                  std::function<QString()> valore,
                                                                  const QString &nomeFont, qint16 dimensione)
{
    return {
        [this, valore = std::move(valore)] {
            Elemento.clear();
            Elemento = valore();
        },
        [this, segnaposto, nomeFont, dimensione] {
            SostituisciSegnaposto(m_engine, Elemento, segnaposto, nomeFont, dimensione, false, false);
        },
    };
}

QList<ComposizioneDocumento::Passo>
ComposizioneDocumento::riempiCampi(Recordset &recordset,
                                   std::initializer_list<std::pair<QString, QString>> segnapostiEColonne)
{
    QList<Passo> passi;
    for (const auto &[segnaposto, colonna] : segnapostiEColonne)
        passi += riempi(segnaposto, campo(recordset, colonna));
    return passi;
}

// The pages ----------------------------------------------------------------------------------------

void ComposizioneDocumento::CreaPaginaRiepilogo()
{
    QList<Passo> propri;
    propri +=
        riempi(u"<n3>"_s, [this]() -> QString { return QString::number(ContaSediInteressate(m_context)); });
    propri += riempi(u"<n4>"_s, [this]() -> QString { return QString::number(ContaCorsi(m_context)); });
    propri += riempi(u"<n5>"_s, [this]() -> QString { return testoImporto(CalcolaTotaleSpesa(m_context)); });
    pagina(ModelliPagina::Riepilogo, ErroriPagina::Cornice, propri);
}

void ComposizioneDocumento::CreaSecondaPagina()
{
    pagina(ModelliPagina::SecondaPagina, ErroriPagina::Cornice, {});
}

void ComposizioneDocumento::CreaPaginaOperatore()
{
    Recordset &domanda = m_context.DE().rs(u"QryDomande"_s);
    Recordset &sedeLegale = m_context.DE().rs(u"QryDomandeSedLeg"_s);
    const QString arial = u"arial"_s;
    auto identificativo = std::make_shared<IdentificativoFiscale>();

    QList<Passo> propri;
    propri += riempi(u"<n1>"_s, [&domanda]() -> QString {
        return NonNull(domanda.value(u"GrupOpe"_s)) + u"   "_s + NonNull(domanda.value(u"Operatore"_s));
    });
    propri += riempi(
        u"<CodFisc_Literal>"_s,
        [&domanda, identificativo]() -> QString {
            *identificativo = identificativoFiscale(domanda.value(u"CodFisc"_s), domanda.value(u"PIva"_s));
            return identificativo->etichetta;
        },
        arial, 10);
    propri += riempi(
        u"<CodFisc>"_s, [identificativo]() -> QString { return identificativo->valore; }, arial, 10);
    propri += riempiCampi(domanda, {
                                       {u"<n3>"_s, u"Corrispondenza"_s},
                                       {u"<n4>"_s, u"LegNome"_s},
                                       {u"<n5>"_s, u"LegComNasc"_s},
                                       {u"<n6>"_s, u"LegProvNasc"_s},
                                   });
    propri += riempi(u"<n7>"_s, [&domanda]() -> QString {
        return dataNascita(domanda.value(u"LegGGNasc"_s), domanda.value(u"LegMMNasc"_s),
                           domanda.value(u"LegAAAANasc"_s));
    });
    propri += riempiCampi(domanda, {
                                       {u"<n8>"_s, u"ContIntCC"_s},
                                       {u"<n9>"_s, u"ContDesBanca"_s},
                                       {u"<n31>"_s, u"ContIBAN"_s},
                                       {u"<n11>"_s, u"ContAge"_s},
                                       {u"<n12>"_s, u"ContIndirAge"_s},
                                       {u"<n13>"_s, u"ContNumCC"_s},
                                   });

    propri += [this, &sedeLegale] {
        riapri(sedeLegale);
        sedeLegale.setFilter(filtroDomanda(m_context.domanda().NumDomaCorrente));
    };
    propri += riempi(u"<n14>"_s, [&sedeLegale]() -> QString {
        return testoDiretto(sedeLegale.value(u"SedeInteressata"_s));
    });
    propri += riempi(u"<n15>"_s, [&sedeLegale]() -> QString {
        return trimBlanks(richiesto(sedeLegale.value(u"CorsiOper.Denominazione"_s)).toString());
    });
    propri += riempiCampi(sedeLegale, {
                                          {u"<n16>"_s, u"QryComuniProv.Denominazione"_s},
                                          {u"<n17>"_s, u"CodComune"_s},
                                          {u"<n18>"_s, u"Cap"_s},
                                          {u"<n19>"_s, u"Indirizzo"_s},
                                          {u"<n20>"_s, u"StatoEstero"_s},
                                          {u"<n21>"_s, u"CittaEstero"_s},
                                          {u"<n22>"_s, u"ProvCCIAA"_s},
                                          {u"<n23>"_s, u"CodCCIAA"_s},
                                          {u"<n24>"_s, u"AnnoCCIAA"_s},
                                      });
    propri += riempi(u"<n25>"_s, [&sedeLegale]() -> QString {
        return trimBlanks(TestoDaCampo(sedeLegale.value(u"QryDomandeSedLeg.AttEcono.Descrizione"_s)));
    });
    propri += riempi(u"<n26>"_s, [&sedeLegale]() -> QString {
        return trimBlanks(TestoDaCampo(richiesto(sedeLegale.value(u"AttEcono"_s))));
    });
    propri += riempi(u"<n27>"_s, campo(sedeLegale, u"Tel"_s));
    propri += riempi(u"<n28>"_s, campo(sedeLegale, u"Fax"_s), arial, 10);
    propri += riempiCampi(sedeLegale, {
                                          {u"<n29>"_s, u"Email"_s},
                                          {u"<n30>"_s, u"Riferimento"_s},
                                      });
    propri += [&sedeLegale] {
        sedeLegale.close();
        sedeLegale.clearFilter();
    };
    pagina(ModelliPagina::Operatore, ErroriPagina::Operatore, propri);
}

void ComposizioneDocumento::CreaPaginaSede(Recordset &sedi)
{
    const auto casella = [this, &sedi](const QString &segnaposto, const QString &tipo) -> Passo {
        return [this, &sedi, segnaposto, tipo] {
            const QVariant tipoCompo = sedi.value(u"TipoCompo"_s);
            ImpostaCasella(m_engine, segnaposto, !isNullValue(tipoCompo) && tipoCompo.toString() == tipo);
        };
    };
    QList<Passo> propri;
    propri +=
        riempi(u"<n1>"_s, [&sedi]() -> QString { return testoDiretto(sedi.value(u"SedeInteressata"_s)); });
    propri += casella(u"<ck1>"_s, u"SL"_s);
    propri += casella(u"<ck2>"_s, u"UL"_s);
    propri += casella(u"<ck3>"_s, u"UO"_s);
    propri += riempiCampi(sedi, {
                                    {u"<n2>"_s, u"CorsiSediInteressate.Denominazione"_s},
                                    {u"<n3>"_s, u"QryComuniProv.Denominazione"_s},
                                });
    propri += riempi(u"<n4>"_s, [&sedi]() -> QString { return testoDiretto(sedi.value(u"CodComune"_s)); });
    propri += riempiCampi(sedi, {
                                    {u"<n5>"_s, u"Cap"_s},
                                    {u"<n6>"_s, u"Descrizione"_s},
                                    {u"<n7>"_s, u"Indirizzo"_s},
                                    {u"<n8>"_s, u"Tel"_s},
                                    {u"<n9>"_s, u"Fax"_s},
                                    {u"<n10>"_s, u"Email"_s},
                                    {u"<n11>"_s, u"Riferimento"_s},
                                });
    pagina(ModelliPagina::Sede, ErroriPagina::Cornice, propri);
}

void ComposizioneDocumento::CreaPaginaCorso(Recordset &corsi)
{
    const auto valore = [&corsi](const QString &colonna) { return corsi.value(colonna); };
    const auto diretto = [&corsi](const QString &colonna) {
        return [&corsi, colonna] { return testoDiretto(corsi.value(colonna)); };
    };
    const auto parte = [&corsi](const QString &colonna) {
        const QVariant v = corsi.value(colonna);
        return isNullValue(v) ? QString() : testoDelValore(v);
    };
    QList<Passo> propri;
    propri += riempi(u"<n1>"_s, diretto(u"SedeInteressata"_s));
    propri += riempi(u"<n2>"_s, campo(corsi, u"CompoResp"_s));
    propri += riempi(u"<n3>"_s, diretto(u"Corso"_s));
    propri += riempi(u"<cicloFin>"_s, [parte]() -> QString {
        QString testo = parte(u"CicloFinanziario"_s);
        testo += u" - "_s;
        testo += parte(u"QryCorsi.CicloFinanziario.Descrizione"_s);
        return testo;
    });
    propri += riempi(u"<n6>"_s, [valore]() -> QString {
        return classificazioneCorso(valore(u"CodAsse"_s), valore(u"CodMisura"_s), valore(u"CodAzione"_s));
    });
    propri += riempi(u"<n4>"_s, [parte]() -> QString {
        QString testo = parte(u"CodQualif"_s);
        testo += u" - "_s;
        testo += trimBlanks(parte(u"CorsiProp.DenCorso"_s));
        return testo;
    });
    propri += riempi(u"<n9>"_s, [parte, valore]() -> QString {
        QString testo = parte(u"CodDest"_s);
        testo += u" - "_s;
        testo += TestoDaCampo(valore(u"DesDest"_s));
        return testo;
    });
    propri += riempi(u"<n21>"_s, diretto(u"NumAll"_s));
    propri += riempi(u"<n18>"_s, diretto(u"TotOreIter"_s));
    propri += riempi(u"<n20>"_s, diretto(u"DurataTotIter"_s));
    propri += riempi(u"<n24>"_s, [this, valore]() -> QString {
        const QVariant id = valore(u"IdAttivita_CorsoRifB111"_s);
        return isNullValue(id) ? QString() : ChiaveUtenteCorso(m_context, id.toInt());
    });
    propri += riempi(u"<n25>"_s, [valore]() -> QString { return tipologiaCorso(valore(u"NumAll"_s)); });
    propri += riempi(u"<n26>"_s, []() -> QString { return QString(); });
    propri += riempi(u"<n27>"_s, diretto(u"ParametroSpesa"_s));
    propri += riempi(u"<n28>"_s, diretto(u"OreSpesa"_s));
    propri += riempi(u"<n29>"_s, [valore]() -> QString {
        return allieviPreventivo(valore(u"AllieviSpesa"_s), valore(u"NumAll"_s));
    });
    propri += riempi(u"<n30>"_s, diretto(u"TotaleSpesa"_s));
    pagina(ModelliPagina::Corso, ErroriPagina::Corso, propri);
}

} // namespace kx
