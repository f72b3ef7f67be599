-- The archive delivered with the program: five tables and the one settings record.
-- Texts are UTF-8; booleans are 0/1 (0 when not set); counters are assigned by the database and
-- never reused. A text field that was never set stays NULL, which every reader takes as empty
-- text, so that the unique indexes accept several records that leave the field unset.

-- The customer register.
CREATE TABLE Clienti (
    T1IdCliente    INTEGER PRIMARY KEY AUTOINCREMENT,
    T1Numero       TEXT,
    T1Nome         TEXT,
    T1Nascita      TEXT,
    T1Indirizzo    TEXT,
    T1Informazioni TEXT,
    T1Eliminato    INTEGER DEFAULT 0
);
CREATE UNIQUE INDEX Clienti_T1Numero ON Clienti (T1Numero);

-- Received messages still to be handled, in order of arrival.
CREATE TABLE SmsTemporanei (
    T3Numero           TEXT,
    T3DataArrivo       TEXT,
    T3OrarioArrivo     TEXT,
    T3OrarioArrivo2    TEXT,
    T3OrarioArrivo3    TEXT,
    T3TestoSmsRicevuto TEXT,
    T3Gestito          INTEGER DEFAULT 0
);

-- Handled messages.
CREATE TABLE SMS (
    T4IdSMS            INTEGER PRIMARY KEY AUTOINCREMENT,
    T4Numero           TEXT,
    T4DataArrivo       TEXT,
    T4OrarioArrivo     TEXT,
    T4TestoSmsRicevuto TEXT
);

-- Business data and device settings: exactly one record.
CREATE TABLE Impostazioni (
    NomeAttivita         TEXT,
    NomeProprietario     TEXT,
    TelefonoGsm          TEXT,
    TelefonoAttivita     TEXT,
    IndirizzoAttivita    TEXT,
    InformazioniAttivita TEXT,
    ModAccGsm            INTEGER DEFAULT 0,
    ModStampa            INTEGER DEFAULT 0,
    Mod80Colonne         INTEGER DEFAULT 0,
    ModCom80Colonne      TEXT,
    CreditoSim           TEXT
);

-- Mobile operators and how their prepaid credit is asked.
CREATE TABLE DatiGestoreSim (
    IDGestore       INTEGER PRIMARY KEY AUTOINCREMENT,
    GestoreSim      TEXT,
    Operativo       INTEGER DEFAULT 0,
    TelCredito      TEXT,
    TestoSmsCredito TEXT,
    ModalitaCre     INTEGER DEFAULT 0,
    ModRispCredito  INTEGER DEFAULT 0,
    CreditoSim      TEXT,
    DataScadenza    TEXT
);
CREATE UNIQUE INDEX DatiGestoreSim_TelCredito ON DatiGestoreSim (TelCredito);

-- The printer port defaults to COM2: COM1 is where the modem usually sits.
INSERT INTO Impostazioni (NomeAttivita, NomeProprietario, TelefonoGsm, TelefonoAttivita,
                          IndirizzoAttivita, InformazioniAttivita, ModAccGsm, ModStampa,
                          Mod80Colonne, ModCom80Colonne, CreditoSim)
VALUES ('', '', '', '', '', '', 0, 0, 0, '2', '');
