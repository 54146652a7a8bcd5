-- Tables and saved queries of the application database.
--
-- Text columns compare without regard to case, as the old engine did. Yes/no columns hold 0 or 1.
-- Single-column integer keys are declared INT rather than INTEGER: an INTEGER key would become the
-- rowid, and a row added without its key would silently get a number instead of being refused.
-- Saved queries are views whose columns carry the names the program reads, dotted ones included
-- ("CorsiSediInteressate.Denominazione"): SQL text must quote them.
-- Columns a caller edits through a view are plain columns of one base table, and the view carries
-- that table's key, so the data layer can write them back. No other table's key is complete in
-- such a view, so nothing else can be changed through it.

-- Applications, operators' registry, seats and courses

CREATE TABLE CorsiOper (
    GrupOpe TEXT NOT NULL COLLATE NOCASE,
    Operatore INTEGER NOT NULL,
    Denominazione TEXT COLLATE NOCASE,
    TipoOper TEXT COLLATE NOCASE,
    CodFisc TEXT COLLATE NOCASE,
    PIva TEXT COLLATE NOCASE,
    LegNome TEXT COLLATE NOCASE,
    LegComNasc TEXT COLLATE NOCASE,
    LegProvNasc TEXT COLLATE NOCASE,
    LegGGNasc TEXT COLLATE NOCASE,
    LegMMNasc TEXT COLLATE NOCASE,
    LegAAAANasc TEXT COLLATE NOCASE,
    ProvCCIAA TEXT COLLATE NOCASE,
    CodCCIAA TEXT COLLATE NOCASE,
    AnnoCCIAA TEXT COLLATE NOCASE,
    AttEcono INTEGER,
    Corrispondenza INTEGER,
    ContABI TEXT COLLATE NOCASE,
    ContDesBanca TEXT COLLATE NOCASE,
    ContCAB TEXT COLLATE NOCASE,
    ContAge TEXT COLLATE NOCASE,
    ContIndirAge TEXT COLLATE NOCASE,
    ContNumCC TEXT COLLATE NOCASE,
    ContIntCC TEXT COLLATE NOCASE,
    ContIBAN TEXT COLLATE NOCASE,
    -- Last on purpose: the copy into a new application stops before the last column.
    ContCIN TEXT COLLATE NOCASE,
    PRIMARY KEY (GrupOpe, Operatore)
);

-- A new application copies CorsiOper column p into Domande column p + 3 for p = 2 .. 24, so
-- DenominazioneOp .. ContIBAN must face Denominazione .. ContIBAN of CorsiOper one for one.
CREATE TABLE Domande (
    NumDoma INT NOT NULL PRIMARY KEY,
    GrupOpe TEXT COLLATE NOCASE,
    Operatore INTEGER,
    PROV TEXT COLLATE NOCASE,
    Domanda INTEGER,
    DenominazioneOp TEXT COLLATE NOCASE,
    TipoOper TEXT COLLATE NOCASE,
    CodFisc TEXT COLLATE NOCASE,
    PIva TEXT COLLATE NOCASE,
    LegNome TEXT COLLATE NOCASE,
    LegComNasc TEXT COLLATE NOCASE,
    LegProvNasc TEXT COLLATE NOCASE,
    LegGGNasc TEXT COLLATE NOCASE,
    LegMMNasc TEXT COLLATE NOCASE,
    LegAAAANasc TEXT COLLATE NOCASE,
    ProvCCIAA TEXT COLLATE NOCASE,
    CodCCIAA TEXT COLLATE NOCASE,
    AnnoCCIAA TEXT COLLATE NOCASE,
    AttEcono INTEGER,
    Corrispondenza INTEGER,
    -- Receives the registry's ABI code at creation. Nothing reads it here.
    ContABI TEXT COLLATE NOCASE,
    ContDesBanca TEXT COLLATE NOCASE,
    -- Receives the registry's CAB code at creation. Nothing reads it here.
    ContCAB TEXT COLLATE NOCASE,
    ContAge TEXT COLLATE NOCASE,
    ContIndirAge TEXT COLLATE NOCASE,
    ContNumCC TEXT COLLATE NOCASE,
    ContIntCC TEXT COLLATE NOCASE,
    ContIBAN TEXT COLLATE NOCASE,
    DomPrece TEXT COLLATE NOCASE,
    GGPrece TEXT COLLATE NOCASE,
    MMPrece TEXT COLLATE NOCASE,
    AAAAPrece TEXT COLLATE NOCASE,
    DomPROV TEXT COLLATE NOCASE,
    Direttiva TEXT COLLATE NOCASE,
    AnnoDirettiva TEXT COLLATE NOCASE,
    DomandaStampata INTEGER NOT NULL DEFAULT 0,
    DomandaTrasmessa INTEGER NOT NULL DEFAULT 0
);

-- The windows look for an operator's applications and components. The index on Operatore alone
-- finds them (a group letter is shared by most of the registry and finds little by itself), and
-- tells the data layer whether the column holds anything but numbers without reading the table.
CREATE INDEX DomandeOperatore ON Domande (Operatore);

CREATE TABLE CorsiCompo (
    GrupOpe TEXT NOT NULL COLLATE NOCASE,
    Operatore INTEGER NOT NULL,
    Componente INTEGER NOT NULL,
    TipoCompo TEXT COLLATE NOCASE,
    Denominazione TEXT COLLATE NOCASE,
    CodComune TEXT COLLATE NOCASE,
    Cap TEXT COLLATE NOCASE,
    Indirizzo TEXT COLLATE NOCASE,
    Tel TEXT COLLATE NOCASE,
    Fax TEXT COLLATE NOCASE,
    StatoEstero TEXT COLLATE NOCASE,
    CittaEstero TEXT COLLATE NOCASE,
    Email TEXT COLLATE NOCASE,
    Riferimento TEXT COLLATE NOCASE,
    PRIMARY KEY (GrupOpe, Operatore, Componente)
);

CREATE INDEX CorsiCompoOperatore ON CorsiCompo (Operatore);

CREATE TABLE CorsiSediOcc (
    SedeOcc INT NOT NULL PRIMARY KEY,
    Denominazione TEXT COLLATE NOCASE,
    Indirizzo TEXT COLLATE NOCASE,
    CodComune TEXT COLLATE NOCASE,
    Cap TEXT COLLATE NOCASE,
    Tel TEXT COLLATE NOCASE,
    Fax TEXT COLLATE NOCASE,
    -- The first installation leaves the type to this default.
    TipoCompo TEXT COLLATE NOCASE DEFAULT 'UO',
    Pref TEXT COLLATE NOCASE,
    PrefFax TEXT COLLATE NOCASE
);

CREATE TABLE CorsiSediOccUtil (
    GrupOpe TEXT NOT NULL COLLATE NOCASE,
    Operatore INTEGER NOT NULL,
    Componente INTEGER NOT NULL,
    SedeOcc INTEGER NOT NULL,
    Email TEXT COLLATE NOCASE,
    Riferimento TEXT COLLATE NOCASE,
    PRIMARY KEY (GrupOpe, Operatore, Componente, SedeOcc)
);

CREATE TABLE CorsiSediInteressate (
    NumDoma INTEGER NOT NULL REFERENCES Domande (NumDoma) ON DELETE CASCADE ON UPDATE CASCADE,
    SedeInteressata INTEGER NOT NULL,
    GrupOpe TEXT COLLATE NOCASE,
    Operatore INTEGER,
    TipoCompo TEXT COLLATE NOCASE,
    Denominazione TEXT COLLATE NOCASE,
    CodComune TEXT COLLATE NOCASE,
    Cap TEXT COLLATE NOCASE,
    Indirizzo TEXT COLLATE NOCASE,
    Tel TEXT COLLATE NOCASE,
    Fax TEXT COLLATE NOCASE,
    StatoEstero TEXT COLLATE NOCASE,
    CittaEstero TEXT COLLATE NOCASE,
    Email TEXT COLLATE NOCASE,
    Riferimento TEXT COLLATE NOCASE,
    PRIMARY KEY (NumDoma, SedeInteressata)
);

CREATE TABLE CorsiProp (
    NumDoma INTEGER NOT NULL REFERENCES Domande (NumDoma) ON DELETE CASCADE ON UPDATE CASCADE,
    SedeInteressata INTEGER NOT NULL,
    GrupOpe TEXT COLLATE NOCASE,
    Operatore INTEGER,
    Corso TEXT NOT NULL COLLATE NOCASE,
    CompoResp INTEGER,
    CicloFinanziario TEXT COLLATE NOCASE,
    CodAsse TEXT COLLATE NOCASE,
    CodMisura TEXT COLLATE NOCASE,
    CodAzione TEXT COLLATE NOCASE,
    CodQualif TEXT COLLATE NOCASE,
    DenCorso TEXT COLLATE NOCASE,
    CodDest INTEGER,
    CodDest2 INTEGER,
    CodCert INTEGER,
    CodPerc INTEGER,
    NumAll INTEGER,
    TotOreIter INTEGER,
    DurataTotIter INTEGER,
    CorsoRifC211B TEXT COLLATE NOCASE,
    IdAttivita_CorsoRifB111 INTEGER,
    CodGruppo INTEGER,
    CodSpesa INTEGER,
    AllieviSpesa INTEGER,
    OreSpesa INTEGER,
    ParametroSpesa REAL,
    TotaleSpesa REAL,
    CodIsti INTEGER,
    IstitutoLibero TEXT COLLATE NOCASE,
    ATI INTEGER NOT NULL DEFAULT 0,
    Guid TEXT COLLATE NOCASE,
    OreStage INTEGER,
    CodSetto INTEGER,
    CodComp INTEGER,
    CodInd1 TEXT COLLATE NOCASE,
    DesInd1 TEXT COLLATE NOCASE,
    CodInd2 TEXT COLLATE NOCASE,
    DesInd2 TEXT COLLATE NOCASE,
    CodInd3 TEXT COLLATE NOCASE,
    DesInd3 TEXT COLLATE NOCASE,
    CodInd4 TEXT COLLATE NOCASE,
    DesInd4 TEXT COLLATE NOCASE,
    CodInd5 TEXT COLLATE NOCASE,
    DesInd5 TEXT COLLATE NOCASE,
    CodInd6 TEXT COLLATE NOCASE,
    DesInd6 TEXT COLLATE NOCASE,
    a1_ParamA1 REAL,
    a1_Ore INTEGER,
    a1_ParamC1 REAL,
    a2_ParamA1 REAL,
    a2_Ore INTEGER,
    a2_ParamC1 REAL,
    a3_ParamA1 REAL,
    a3_Ore INTEGER,
    a3_ParamC1 REAL,
    a1_ParamA2 REAL,
    a1_ParamA3 REAL,
    Guid_anno1 TEXT COLLATE NOCASE,
    Guid_anno2 TEXT COLLATE NOCASE,
    Guid_anno3 TEXT COLLATE NOCASE,
    PRIMARY KEY (NumDoma, SedeInteressata, Corso)
);

-- The start-up's correction of course hours finds the courses it still has to correct by the three
-- action codes joined as its statement joins them: the index holds only courses over the limit, so
-- a start touches none once they are corrected. upper() folds ASCII letters only, as the text columns
-- compare: an index on the joined codes with COLLATE NOCASE would not be used, and this engine would
-- also use an index of the plain joined codes for a comparison without regard to case, missing
-- "iii.g.06.01".
CREATE INDEX CorsiPropAzioneCorsi ON CorsiProp (upper(CodAsse || '.' || CodMisura || '.' || CodAzione))
    WHERE OreSpesa > 200 OR TotOreIter > 200;

-- Yearly cost rows of a course. They follow the course when it moves to another seat or code.
CREATE TABLE CorsiPropSpese (
    NumDoma INTEGER NOT NULL,
    SedeInteressata INTEGER NOT NULL,
    Corso TEXT NOT NULL COLLATE NOCASE,
    ProgrAnno INTEGER NOT NULL,
    AllieviSpesa INTEGER,
    OreSpesa INTEGER,
    ParametroSpesa REAL,
    TotaleSpesa REAL,
    PRIMARY KEY (NumDoma, SedeInteressata, Corso, ProgrAnno),
    FOREIGN KEY (NumDoma, SedeInteressata, Corso) REFERENCES CorsiProp (NumDoma, SedeInteressata, Corso)
        ON DELETE CASCADE ON UPDATE CASCADE
);

-- Columns in the field order of the approved-courses file.
CREATE TABLE CorsiApprovati (
    IdAttivita INT NOT NULL PRIMARY KEY,
    IdCorsoPrincipale INTEGER,
    GrupOpe TEXT COLLATE NOCASE,
    Operatore INTEGER,
    ProgrAttivita TEXT COLLATE NOCASE,
    AnnoInizio TEXT COLLATE NOCASE,
    ProgrAccorp INTEGER,
    CodDiret INTEGER,
    AnnGest TEXT COLLATE NOCASE,
    Componente INTEGER,
    SedeOcca INTEGER,
    CodQualif TEXT COLLATE NOCASE,
    DenCorso TEXT COLLATE NOCASE,
    CodObiettiv_Rif TEXT COLLATE NOCASE,
    CodObiet TEXT COLLATE NOCASE,
    CodAsse TEXT COLLATE NOCASE,
    CodSubAsse TEXT COLLATE NOCASE,
    LineaIntervento INTEGER,
    CodScol INTEGER,
    CodSetto INTEGER,
    AnnoSetto TEXT COLLATE NOCASE,
    CodComp INTEGER,
    AnnoComp TEXT COLLATE NOCASE,
    CodPerc INTEGER,
    CodOra INTEGER,
    CodCert INTEGER,
    DurataAnnOre INTEGER,
    NumAll INTEGER,
    TotIter INTEGER,
    Durata INTEGER,
    Stato INTEGER,
    TipoConv TEXT COLLATE NOCASE,
    NumConv INTEGER,
    Conv_PT_IpAddress TEXT COLLATE NOCASE,
    Conv_NumPratica INTEGER,
    NumPratica TEXT COLLATE NOCASE,
    ProvviProgAtt TEXT COLLATE NOCASE,
    ProvviProgAcc TEXT COLLATE NOCASE,
    Dom_NumPratica TEXT COLLATE NOCASE,
    Dom_ChiaveUtente TEXT COLLATE NOCASE,
    StatoAvanzamento INTEGER,
    PROV TEXT COLLATE NOCASE,
    CicloFin TEXT COLLATE NOCASE
);

-- Decode tables. The loaders write field i of a line into column i, key columns first, so the
-- column order is the field order of each table's text file. Columns named CampoN are loaded
-- from field N (counting from 1) and read by nothing.

CREATE TABLE Asse (
    CodAsse TEXT NOT NULL COLLATE NOCASE PRIMARY KEY,
    DesAsse TEXT COLLATE NOCASE
);

CREATE TABLE Misura (
    CodAsse TEXT NOT NULL COLLATE NOCASE,
    CodMisura TEXT NOT NULL COLLATE NOCASE,
    DesMisura TEXT COLLATE NOCASE,
    PRIMARY KEY (CodAsse, CodMisura)
);

CREATE TABLE Azione (
    CodAsse TEXT NOT NULL COLLATE NOCASE,
    CodMisura TEXT NOT NULL COLLATE NOCASE,
    CodAzione TEXT NOT NULL COLLATE NOCASE,
    DesAzione TEXT COLLATE NOCASE,
    PRIMARY KEY (CodAsse, CodMisura, CodAzione)
);

CREATE TABLE Prov_Asse (
    Prov TEXT NOT NULL COLLATE NOCASE,
    CodAsse TEXT NOT NULL COLLATE NOCASE,
    PRIMARY KEY (Prov, CodAsse)
);

CREATE TABLE Prov_Misura (
    Prov TEXT NOT NULL COLLATE NOCASE,
    CodAsse TEXT NOT NULL COLLATE NOCASE,
    CodMisura TEXT NOT NULL COLLATE NOCASE,
    PRIMARY KEY (Prov, CodAsse, CodMisura)
);

CREATE TABLE Prov_Azione (
    Prov TEXT NOT NULL COLLATE NOCASE,
    CodAsse TEXT NOT NULL COLLATE NOCASE,
    CodMisura TEXT NOT NULL COLLATE NOCASE,
    CodAzione TEXT NOT NULL COLLATE NOCASE,
    PRIMARY KEY (Prov, CodAsse, CodMisura, CodAzione)
);

CREATE TABLE Destin (
    CodDest INT NOT NULL PRIMARY KEY,
    DesDest TEXT COLLATE NOCASE
);

CREATE TABLE AzioneDestin (
    CodAsse TEXT NOT NULL COLLATE NOCASE,
    CodMisura TEXT NOT NULL COLLATE NOCASE,
    CodAzione TEXT NOT NULL COLLATE NOCASE,
    CodDest INTEGER NOT NULL,
    PRIMARY KEY (CodAsse, CodMisura, CodAzione, CodDest)
);

-- DesAzione here is the course name offered for the action.
CREATE TABLE AzioneDenomCorso (
    CodAsse TEXT NOT NULL COLLATE NOCASE,
    CodMisura TEXT NOT NULL COLLATE NOCASE,
    CodAzione TEXT NOT NULL COLLATE NOCASE,
    CodDenom INTEGER NOT NULL,
    DesAzione TEXT COLLATE NOCASE,
    PRIMARY KEY (CodAsse, CodMisura, CodAzione, CodDenom)
);

-- The course editor finds an action's course names and target groups by the three codes joined as
-- the action code, without regard to case (upper() folds ASCII letters only, as the text columns
-- compare).
CREATE INDEX AzioneDenomCorsoAzione ON AzioneDenomCorso (upper(CodAsse || '.' || CodMisura || '.' || CodAzione));
CREATE INDEX AzioneDestinAzione ON AzioneDestin (upper(CodAsse || '.' || CodMisura || '.' || CodAzione));

CREATE TABLE Percorsi (
    CodPerc INT NOT NULL PRIMARY KEY,
    DesPerc TEXT COLLATE NOCASE,
    Campo3 TEXT COLLATE NOCASE
);

CREATE TABLE AzionePercorsi (
    CodAsse TEXT NOT NULL COLLATE NOCASE,
    CodMisura TEXT NOT NULL COLLATE NOCASE,
    CodAzione TEXT NOT NULL COLLATE NOCASE,
    CodPerc INTEGER NOT NULL,
    PRIMARY KEY (CodAsse, CodMisura, CodAzione, CodPerc)
);

CREATE TABLE Certif (
    CodCert INT NOT NULL PRIMARY KEY,
    DesCert TEXT COLLATE NOCASE
);

-- Labour-market areas. The seat views show the area of the seat's municipality.
CREATE TABLE Bacino (
    CodBacino INT NOT NULL PRIMARY KEY,
    Descrizione TEXT COLLATE NOCASE,
    Campo3 TEXT COLLATE NOCASE,
    Campo4 TEXT COLLATE NOCASE
);

CREATE TABLE Regioni (
    Regione TEXT NOT NULL COLLATE NOCASE PRIMARY KEY,
    DesRegione TEXT COLLATE NOCASE
);

CREATE TABLE Province (
    Prov TEXT NOT NULL COLLATE NOCASE PRIMARY KEY,
    SigProv TEXT COLLATE NOCASE,
    DesProv TEXT COLLATE NOCASE,
    REGIONE TEXT COLLATE NOCASE
);

-- CodBacino is the labour-market area of the municipality (Bacino).
CREATE TABLE Comuni (
    CodComune TEXT NOT NULL COLLATE NOCASE PRIMARY KEY,
    Denominazione TEXT COLLATE NOCASE,
    PROV TEXT COLLATE NOCASE,
    Cap TEXT COLLATE NOCASE,
    CodBacino INTEGER,
    CodiceConversione TEXT COLLATE NOCASE,
    Campo7 TEXT COLLATE NOCASE
);

CREATE TABLE Comuni_Quartieri (
    ComIstat TEXT NOT NULL COLLATE NOCASE,
    Cod_Quartiere INTEGER NOT NULL,
    Des_Quartiere TEXT COLLATE NOCASE,
    PRIMARY KEY (ComIstat, Cod_Quartiere)
);

-- The loaders never write LOGO: the pictures stay as they are.
CREATE TABLE ProvinceLoghiIndir (
    Prov TEXT NOT NULL COLLATE NOCASE PRIMARY KEY,
    Intestazione TEXT COLLATE NOCASE,
    Indirizzo TEXT COLLATE NOCASE,
    Cap TEXT COLLATE NOCASE,
    Citta TEXT COLLATE NOCASE,
    Tel TEXT COLLATE NOCASE,
    LOGO BLOB
);

CREATE TABLE StatiEsteri (
    CodStato TEXT NOT NULL COLLATE NOCASE PRIMARY KEY,
    DenomStato TEXT COLLATE NOCASE,
    Campo3 TEXT COLLATE NOCASE
);

CREATE TABLE TipoCompo (
    TipoCompo TEXT NOT NULL COLLATE NOCASE PRIMARY KEY,
    Descrizione TEXT COLLATE NOCASE
);

CREATE TABLE TipoOper (
    GrupOpe TEXT NOT NULL COLLATE NOCASE,
    TipoOper TEXT NOT NULL COLLATE NOCASE,
    Descrizione TEXT COLLATE NOCASE,
    PRIMARY KEY (GrupOpe, TipoOper)
);

CREATE TABLE AttEcono (
    AttEcono INT NOT NULL PRIMARY KEY,
    Descrizione TEXT COLLATE NOCASE
);

-- No key: every line of the file is appended. Installation writes the first 12 columns.
CREATE TABLE MassimaliPar (
    CodAsse TEXT COLLATE NOCASE,
    CodMisura TEXT COLLATE NOCASE,
    CodAzione TEXT COLLATE NOCASE,
    SitIter TEXT COLLATE NOCASE,
    ParA REAL,
    ParCmin REAL,
    ParCmax REAL,
    CodCentro INTEGER,
    CodSpesa INTEGER,
    Campo10 TEXT COLLATE NOCASE,
    Campo11 TEXT COLLATE NOCASE,
    Campo12 TEXT COLLATE NOCASE,
    Campo13 TEXT COLLATE NOCASE,
    Campo14 TEXT COLLATE NOCASE
);

CREATE TABLE CentroCosto (
    CodCentro INT NOT NULL PRIMARY KEY,
    DesCentro TEXT COLLATE NOCASE
);

CREATE TABLE CentroCostoSpesa (
    CodCentro INTEGER NOT NULL,
    CodSpesa INTEGER NOT NULL,
    DesSpesa TEXT COLLATE NOCASE,
    PRIMARY KEY (CodCentro, CodSpesa)
);

CREATE TABLE Istituti (
    CodIsti INT NOT NULL PRIMARY KEY,
    DesIsti TEXT COLLATE NOCASE
);

CREATE TABLE CicloFinanziario (
    CodCiclo TEXT NOT NULL COLLATE NOCASE PRIMARY KEY,
    Descrizione TEXT COLLATE NOCASE
);

CREATE TABLE Qualifi (
    CodQualif TEXT NOT NULL COLLATE NOCASE PRIMARY KEY,
    DesQualif TEXT COLLATE NOCASE
);

-- Saved queries

-- Municipalities with province abbreviation and labour-market area.
CREATE VIEW QryComuniProv AS
SELECT C.CodComune, C.Denominazione, C.Cap, P.SigProv, C.PROV, C.CodBacino, B.Descrizione
FROM Comuni C
LEFT JOIN Province P ON P.Prov = C.PROV
LEFT JOIN Bacino B ON B.CodBacino = C.CodBacino;

CREATE VIEW QryCompo AS
SELECT K.GrupOpe, K.Operatore, K.Componente, K.TipoCompo,
    K.Denominazione AS "CorsiCompo.Denominazione",
    K.CodComune, Q.Denominazione AS "QryComuniProv.Denominazione", Q.SigProv AS SIGPROV,
    K.Cap, K.Indirizzo, K.Tel, K.Fax, K.StatoEstero, K.CittaEstero, K.Email, K.Riferimento
FROM CorsiCompo K
LEFT JOIN QryComuniProv Q ON Q.CodComune = K.CodComune;

-- A use whose occasional seat is missing from CorsiSediOcc is left out: callers take the seat's
-- code, type and name from it.
CREATE VIEW QrySediOccUtil AS
SELECT U.GrupOpe, U.Operatore, U.Componente,
    U.SedeOcc AS "CorsiSediOccUtil.SedeOcc", O.SedeOcc AS "CorsiSediOcc.SedeOcc",
    O.Denominazione AS "CorsiSediOcc.Denominazione", O.TipoCompo,
    O.CodComune, Q.Denominazione AS "QryComuniProv.Denominazione", Q.SigProv AS SIGPROV,
    O.Cap, O.Indirizzo, O.Tel, O.Fax, U.Email, U.Riferimento
FROM CorsiSediOccUtil U
JOIN CorsiSediOcc O ON O.SedeOcc = U.SedeOcc
LEFT JOIN QryComuniProv Q ON Q.CodComune = O.CodComune;

CREATE VIEW QryOper AS
SELECT O.GrupOpe, O.Operatore, O.Denominazione, O.TipoOper, T.Descrizione,
    O.CodFisc, O.PIva, O.LegNome, O.LegComNasc, O.LegProvNasc, O.LegGGNasc, O.LegMMNasc,
    O.LegAAAANasc, O.ProvCCIAA, O.CodCCIAA, O.AnnoCCIAA, O.AttEcono, O.Corrispondenza,
    O.ContABI, O.ContDesBanca, O.ContCAB, O.ContAge, O.ContIndirAge, O.ContNumCC, O.ContIntCC,
    O.ContIBAN, O.ContCIN
FROM CorsiOper O
LEFT JOIN TipoOper T ON T.GrupOpe = O.GrupOpe AND T.TipoOper = O.TipoOper;

-- Edits Domande. Denominazione, TipoCompo and "QryCompo.Indirizzo" describe the component that
-- receives the correspondence. They are CorsiCompo's own columns, joined from the table rather than
-- from QryCompo: a view joined on the right of a LEFT JOIN is built whole by the engine, every
-- component of the registry for each reading of one application.
CREATE VIEW QryDomande AS
SELECT D.NumDoma, D.GrupOpe, D.Operatore, D.PROV, D.Domanda,
    D.DenominazioneOp, D.TipoOper, D.CodFisc, D.PIva, D.LegNome, D.LegComNasc, D.LegProvNasc,
    D.LegGGNasc, D.LegMMNasc, D.LegAAAANasc, D.ProvCCIAA, D.CodCCIAA, D.AnnoCCIAA, D.AttEcono,
    D.Corrispondenza, D.ContABI, D.ContDesBanca, D.ContCAB, D.ContAge, D.ContIndirAge,
    D.ContNumCC, D.ContIntCC, D.ContIBAN,
    D.DomPrece, D.GGPrece, D.MMPrece, D.AAAAPrece, D.DomPROV, D.Direttiva, D.AnnoDirettiva,
    D.DomandaStampata, D.DomandaTrasmessa,
    T.Descrizione AS "QryDomande.TipoOper.Descrizione",
    A.Descrizione AS "QryDomande.AttEcono.Descrizione",
    K.Denominazione AS Denominazione, K.TipoCompo, K.Indirizzo AS "QryCompo.Indirizzo"
FROM Domande D
LEFT JOIN TipoOper T ON T.GrupOpe = D.GrupOpe AND T.TipoOper = D.TipoOper
LEFT JOIN AttEcono A ON A.AttEcono = D.AttEcono
LEFT JOIN CorsiCompo K ON K.GrupOpe = D.GrupOpe AND K.Operatore = D.Operatore
    AND K.Componente = D.Corrispondenza;

-- The legal seat ("SL") of each application. Edits CorsiSediInteressate. An application without
-- a legal seat has no row, one with a seat abroad keeps its row.
CREATE VIEW QryDomandeSedLeg AS
SELECT S.NumDoma, S.GrupOpe, S.Operatore, S.SedeInteressata, S.TipoCompo, K.Componente,
    O.Denominazione AS "CorsiOper.Denominazione",
    S.CodComune, Q.Denominazione AS "QryComuniProv.Denominazione", Q.SigProv,
    S.Cap, S.Indirizzo, S.StatoEstero, S.CittaEstero, S.Tel, S.Fax, S.Email, S.Riferimento,
    D.ProvCCIAA, D.CodCCIAA, D.AnnoCCIAA, D.AttEcono,
    A.Descrizione AS "QryDomandeSedLeg.AttEcono.Descrizione"
FROM Domande D
JOIN CorsiSediInteressate S ON S.NumDoma = D.NumDoma AND S.TipoCompo = 'SL'
LEFT JOIN CorsiOper O ON O.GrupOpe = D.GrupOpe AND O.Operatore = D.Operatore
LEFT JOIN CorsiCompo K ON K.GrupOpe = S.GrupOpe AND K.Operatore = S.Operatore
    AND K.Componente = S.SedeInteressata
LEFT JOIN QryComuniProv Q ON Q.CodComune = S.CodComune
LEFT JOIN AttEcono A ON A.AttEcono = D.AttEcono;

-- Edits CorsiSediInteressate. The municipality's columns are shown only: the seat's own postal
-- code is "CorsiSediInteressate.Cap", and the municipalities table is not editable through here.
CREATE VIEW QrySediInteressate AS
SELECT S.NumDoma, S.SedeInteressata, S.GrupOpe, S.Operatore, S.TipoCompo,
    T.Descrizione AS "QrySediInteressate.TipoCompo.Descrizione",
    S.Denominazione, S.Denominazione AS "CorsiSediInteressate.Denominazione",
    S.CodComune, Q.Denominazione AS "QryComuniProv.Denominazione",
    S.Cap AS "CorsiSediInteressate.Cap", Q.Cap AS "QryComuniProv.Cap",
    Q.CodBacino, Q.Descrizione AS "QryComuniProv.Descrizione",
    S.Indirizzo, S.StatoEstero, S.CittaEstero, S.Tel, S.Fax, S.Email, S.Riferimento
FROM CorsiSediInteressate S
LEFT JOIN TipoCompo T ON T.TipoCompo = S.TipoCompo
LEFT JOIN QryComuniProv Q ON Q.CodComune = S.CodComune;

-- The seats that carry at least one course, in seat order. Componente and
-- "CorsiCompo.Denominazione" come from the registry and are empty for occasional seats.
CREATE VIEW QrySediIntCorsi AS
SELECT S.NumDoma, S.GrupOpe, S.Operatore, S.SedeInteressata, K.Componente, S.TipoCompo,
    S.Denominazione AS "CorsiSediInteressate.Denominazione",
    K.Denominazione AS "CorsiCompo.Denominazione",
    Q.Denominazione AS "QryComuniProv.Denominazione",
    S.CodComune, S.Cap, Q.CodBacino, Q.Descrizione,
    S.Indirizzo, S.StatoEstero, S.CittaEstero, S.Tel, S.Fax, S.Email, S.Riferimento
FROM CorsiSediInteressate S
LEFT JOIN CorsiCompo K ON K.GrupOpe = S.GrupOpe AND K.Operatore = S.Operatore
    AND K.Componente = S.SedeInteressata
LEFT JOIN QryComuniProv Q ON Q.CodComune = S.CodComune
WHERE EXISTS (SELECT 1 FROM CorsiProp P
              WHERE P.NumDoma = S.NumDoma AND P.SedeInteressata = S.SedeInteressata)
ORDER BY S.NumDoma, S.SedeInteressata;

-- Edits CorsiProp. The course name is "CorsiProp.DenCorso" because the approved course's name
-- is there too. Indirizzo is the responsible component's address, from CorsiCompo itself for the
-- reason given at QryDomande.
CREATE VIEW QryCorsi AS
SELECT P.NumDoma, P.SedeInteressata, P.GrupOpe, P.Operatore, P.Corso, P.CompoResp,
    P.CicloFinanziario, P.CicloFinanziario AS "CorsiProp.CicloFinanziario",
    P.CodAsse, P.CodMisura, P.CodAzione, P.CodQualif, P.DenCorso AS "CorsiProp.DenCorso",
    P.CodDest, P.CodDest2, P.CodCert, P.CodPerc, P.NumAll, P.TotOreIter, P.DurataTotIter,
    P.CorsoRifC211B, P.IdAttivita_CorsoRifB111,
    P.CodGruppo, P.CodSpesa, P.AllieviSpesa, P.OreSpesa, P.ParametroSpesa, P.TotaleSpesa,
    P.CodIsti, P.IstitutoLibero, P.ATI, P.Guid, P.OreStage, P.CodSetto, P.CodComp,
    P.CodInd1, P.DesInd1, P.CodInd2, P.DesInd2, P.CodInd3, P.DesInd3,
    P.CodInd4, P.DesInd4, P.CodInd5, P.DesInd5, P.CodInd6, P.DesInd6,
    P.a1_ParamA1, P.a1_Ore, P.a1_ParamC1, P.a2_ParamA1, P.a2_Ore, P.a2_ParamC1,
    P.a3_ParamA1, P.a3_Ore, P.a3_ParamC1, P.a1_ParamA2, P.a1_ParamA3,
    P.Guid_anno1, P.Guid_anno2, P.Guid_anno3,
    F.Descrizione AS "QryCorsi.CicloFinanziario.Descrizione",
    X.DesAsse, M.DesMisura, Z.DesAzione, DS.DesDest, I.DesIsti,
    K.Denominazione AS "CorsiCompo.Denominazione", K.TipoCompo AS "QryCompo.TipoCompo", K.Indirizzo,
    A.ProgrAttivita, A.ProgrAccorp, A.Componente, A.DenCorso AS "CorsiApprovati.DenCorso",
    A.TotIter, A.DurataAnnOre, A.Durata, A.TipoConv
FROM CorsiProp P
LEFT JOIN CicloFinanziario F ON F.CodCiclo = P.CicloFinanziario
LEFT JOIN Asse X ON X.CodAsse = P.CodAsse
LEFT JOIN Misura M ON M.CodAsse = P.CodAsse AND M.CodMisura = P.CodMisura
LEFT JOIN Azione Z ON Z.CodAsse = P.CodAsse AND Z.CodMisura = P.CodMisura
    AND Z.CodAzione = P.CodAzione
LEFT JOIN Destin DS ON DS.CodDest = P.CodDest
LEFT JOIN Istituti I ON I.CodIsti = P.CodIsti
LEFT JOIN CorsiCompo K ON K.GrupOpe = P.GrupOpe AND K.Operatore = P.Operatore
    AND K.Componente = P.CompoResp
LEFT JOIN CorsiApprovati A ON A.IdAttivita = P.IdAttivita_CorsoRifB111;

-- Approved courses with their responsible component and their occasional seat, in the column
-- order of the course pickers. Descrizione is the component's seat type.
CREATE VIEW QryCorsiApprovati AS
SELECT A.IdAttivita, A.IdCorsoPrincipale, A.GrupOpe, A.Operatore, A.ProgrAttivita,
    A.AnnoInizio, A.ProgrAccorp, A.CodDiret, A.AnnGest, A.DenCorso, A.Componente,
    K."CorsiCompo.Denominazione", K.TipoCompo AS "QryCompo.TipoCompo", T.Descrizione,
    K.CodComune AS "QryCompo.CodComune",
    K."QryComuniProv.Denominazione" AS "QryCompo.QryComuniProv.Denominazione",
    K.SIGPROV AS "QryCompo.SIGPROV", K.Cap AS "QryCompo.Cap", K.Indirizzo AS "QryCompo.Indirizzo",
    A.SedeOcca, O.Denominazione AS "CorsiSediOcc.Denominazione",
    O.TipoCompo AS "QrySediOccUtil.TipoCompo", O.CodComune AS "QrySediOccUtil.CodComune",
    Q.Denominazione AS "QrySediOccUtil.QryComuniProv.Denominazione",
    Q.SigProv AS "QrySediOccUtil.SIGPROV", O.Cap AS "QrySediOccUtil.Cap",
    O.Indirizzo AS "QrySediOccUtil.Indirizzo",
    A.CodQualif, A.CodObiettiv_Rif, A.CodObiet, A.CodAsse, A.CodSubAsse, A.LineaIntervento,
    A.CodScol, A.CodSetto, A.AnnoSetto, A.CodComp, A.AnnoComp, A.CodPerc, A.CodOra, A.CodCert,
    A.DurataAnnOre, A.NumAll, A.TotIter, A.Durata, A.Stato, A.NumConv, A.Conv_PT_IpAddress,
    A.Conv_NumPratica, A.NumPratica, A.ProvviProgAtt, A.ProvviProgAcc, A.Dom_NumPratica,
    A.Dom_ChiaveUtente, A.StatoAvanzamento, A.PROV, A.TipoConv, A.CicloFin
FROM CorsiApprovati A
LEFT JOIN QryCompo K ON K.GrupOpe = A.GrupOpe AND K.Operatore = A.Operatore
    AND K.Componente = A.Componente
LEFT JOIN TipoCompo T ON T.TipoCompo = K.TipoCompo
LEFT JOIN CorsiSediOcc O ON O.SedeOcc = A.SedeOcca
LEFT JOIN QryComuniProv Q ON Q.CodComune = O.CodComune;

-- One row per course and yearly cost row. A course without yearly rows still gives one row,
-- with an empty ProgrAnno.
CREATE VIEW QryCorsiPropSpese AS
SELECT P.NumDoma, P.SedeInteressata, P.Corso, S.ProgrAnno, P.GrupOpe, P.Operatore,
    P.CompoResp, P.DenCorso, P.CodAsse, P.CodMisura, P.CodAzione, P.CodDest, P.NumAll,
    P.TotOreIter, P.DurataTotIter, P.CorsoRifC211B, P.IdAttivita_CorsoRifB111, P.TotaleSpesa,
    P.CicloFinanziario AS "CorsiProp.CicloFinanziario"
FROM CorsiProp P
LEFT JOIN CorsiPropSpese S ON S.NumDoma = P.NumDoma AND S.SedeInteressata = P.SedeInteressata
    AND S.Corso = P.Corso;
