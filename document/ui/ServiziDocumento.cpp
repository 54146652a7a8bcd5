#include "document/ui/ServiziDocumento.h"

#include "core/state/Context.h"
#include "core/state/PrintRequest.h"
#include "core/state/ServiziStampa.h"
#include "document/ui/ViewStam.h"

using namespace kx;

void installaServiziDocumento(Context &context)
{
    ServiziStampa &servizi = context.serviziStampa();
    servizi.documento = [&context] {
        ViewStam finestra(context);
        context.dialogRunner.run(finestra);
        return finestra.pdfCreato();
    };
    servizi.bozzaCorso = [&context](qint32 numDoma, const QString &sede, const QString &corso) {
        context.stampa().TipoStampa = TipiStampa::BozzaCorso;
        ViewStam finestra(context, ChiaveCorso{numDoma, sede, corso});
        context.dialogRunner.run(finestra);
    };
}
