#include "mainwindow/VociMenu.h"

#include "core/config/IniKeys.h"
#include "core/services/VersioneProgramma.h"

#include <QSet>

using namespace Qt::StringLiterals;

namespace kx {

const QList<VoceMenu> &vociMenu()
{
    static const QList<VoceMenu> voci = {
        {u"cmdSelDoma"_s, u"Label8"_s, u"Inserimento/Cancellazione/Selezione Domanda da compilare"_s},
        {u"cmdOpe"_s, u"Label9"_s,
         u"Compilazione Sezione 1 - Scheda Operatore (dati anagrafici Operatore proponente)"_s},
        {u"cmdCompo"_s, u"Label10"_s,
         u"Compilazione Sezione 1 - Scheda Operatore (dati anagrafici Sede Legale)"_s},
        {u"cmdCorsi"_s, u"Label11"_s, u"Compilazione schede Caratteristiche dei Corsi"_s},
        {u"cmdSpostaCorsi"_s, u"lblMenu"_s, u"Riassegnazione Corsi"_s},
        {u"cmdAllega"_s, u"Label18"_s, u"Riepilogo Dati Domanda"_s},
        {u"cmdStBozza"_s, u"Label12"_s, u"Stampa Bozza della Domanda in compilazione"_s},
        {u"cmdInvia1"_s, u"Label13"_s,
         u"Stampa del modulo di Domanda in forma definitiva e invio dati alla Provincia"_s},
        {u"cmdScaricoCorsi"_s, u"Label2"_s,
         u"Scarica i corsi finanziati dell'Operatore, da collegare agli interventi richiesti "
         u"sull'azione III.G.06.01"_s},
        {u"cmdAggInst"_s, u"lblAggiorna"_s,
         u"Aggiorna dati anagrafici operatori proponenti e sedi legali / aziende committenti dei corsi"_s},
        {u"cmdBackup"_s, u"Label16"_s, QString()},
        {u"cmdOpzioni"_s, u"Label21"_s, u"Impostazioni grafiche schermata principale"_s},
        {u"cmdMailHelp"_s, u"Label20"_s,
         u"Avvia il programma di Posta Elettronica  per contattare l'Assistenza T.U.Z."_s},
        {u"cmdHelp"_s, u"Label14"_s, u"Aiuto contestuale in linea"_s},
        {u"cmdEsci"_s, u"Label15"_s, u"Esci a Windows"_s},
    };
    return voci;
}

const QList<Collegamento> &collegamenti()
{
    static const QList<Collegamento> links = {
        {u"lblTUZ"_s, u" TUZ Valdoria"_s, u"https://www.tuz-valdoria.example/"_s},
        {u"lblFSE"_s, u" Fondo sociale europeo"_s, u"https://ec.europa.eu/european-social-fund-plus/"_s},
        {u"lblMinistero"_s, u" Ministero del lavoro"_s, u"https://www.lavoro.gov.it/"_s},
        {u"lblRegione"_s, u"la Regione Valdoria (formazione professionale)"_s,
         u"https://www.regione.valdoria.example/formaz/"_s},
    };
    return links;
}

bool etichettaIntoccabile(const QString &name)
{
    static const QSet<QString> names = {
        u"Label1"_s,        u"Label3"_s,   u"Label4"_s,    u"Label5"_s,    u"Label6"_s,     u"Label30"_s,
        u"lblCalendario"_s, u"lblGrOpe"_s, u"lblCodOpe"_s, u"lblDenOpe"_s, u"lblDenProv"_s, u"LblNumDoma"_s,
    };
    return names.contains(name);
}

bool haCursoreMano(const QString &name)
{
    const QString upper = name.toUpper();
    if (upper == u"LBLAGGIORNA")
        return true;
    if (upper == u"LABEL1" || upper == u"LABEL3" || upper == u"LABEL4" || upper == u"LABEL5")
        return false;
    return upper.startsWith(u"CMD") || upper.startsWith(u"LABEL");
}

QString titoloMain(const QString &versione)
{
    return u"Proposta Corsi ZRV -  Laboratori AR ( KX58TORVA) - Ver. "_s + versioneProgramma() +
           (versione == VersioneServer ? u" ***SERVER***"_s : u" ___CLIENT___"_s);
}

QString denominazioneIntestazione(const QString &denominazione)
{
    constexpr int Massimo = 24;
    if (denominazione.size() <= Massimo)
        return u"-  "_s + denominazione;
    return u"-  "_s + denominazione.left(Massimo) + u"..."_s;
}

} // namespace kx
