#pragma once

#include <QString>
#include <QStringList>

// The tables and fields of the archive, spelled exactly as the file spells them (SchemaArchivio
// makes them). Code names a table or a field only through these.
namespace Tabella {
inline const QString Clienti = QStringLiteral("Clienti");
inline const QString SmsTemporanei = QStringLiteral("SmsTemporanei");
inline const QString SMS = QStringLiteral("SMS");
inline const QString Impostazioni = QStringLiteral("Impostazioni");
inline const QString DatiGestoreSim = QStringLiteral("DatiGestoreSim");
inline const QString SmsParti = QStringLiteral("SmsParti");
} // namespace Tabella

namespace Campo {
// Clienti
inline const QString T1IdCliente = QStringLiteral("T1IdCliente");
inline const QString T1Numero = QStringLiteral("T1Numero");
inline const QString T1Nome = QStringLiteral("T1Nome");
inline const QString T1Nascita = QStringLiteral("T1Nascita");
inline const QString T1Indirizzo = QStringLiteral("T1Indirizzo");
inline const QString T1Informazioni = QStringLiteral("T1Informazioni");
inline const QString T1Eliminato = QStringLiteral("T1Eliminato");
// SmsTemporanei
inline const QString T3IdSms = QStringLiteral("T3IdSms");
inline const QString T3Numero = QStringLiteral("T3Numero");
inline const QString T3DataArrivo = QStringLiteral("T3DataArrivo");
inline const QString T3OrarioArrivo = QStringLiteral("T3OrarioArrivo");
inline const QString T3OrarioArrivo2 = QStringLiteral("T3OrarioArrivo2");
inline const QString T3OrarioArrivo3 = QStringLiteral("T3OrarioArrivo3");
inline const QString T3TestoSmsRicevuto = QStringLiteral("T3TestoSmsRicevuto");
inline const QString T3Gestito = QStringLiteral("T3Gestito");
// SMS
inline const QString T4IdSMS = QStringLiteral("T4IdSMS");
inline const QString T4Numero = QStringLiteral("T4Numero");
inline const QString T4DataArrivo = QStringLiteral("T4DataArrivo");
inline const QString T4OrarioArrivo = QStringLiteral("T4OrarioArrivo");
inline const QString T4TestoSmsRicevuto = QStringLiteral("T4TestoSmsRicevuto");
// Impostazioni
inline const QString NomeAttivita = QStringLiteral("NomeAttivita");
inline const QString NomeProprietario = QStringLiteral("NomeProprietario");
inline const QString TelefonoGsm = QStringLiteral("TelefonoGsm");
inline const QString TelefonoAttivita = QStringLiteral("TelefonoAttivita");
inline const QString IndirizzoAttivita = QStringLiteral("IndirizzoAttivita");
inline const QString InformazioniAttivita = QStringLiteral("InformazioniAttivita");
inline const QString ModAccGsm = QStringLiteral("ModAccGsm");
inline const QString ModStampa = QStringLiteral("ModStampa");
inline const QString Mod80Colonne = QStringLiteral("Mod80Colonne");
inline const QString ModCom80Colonne = QStringLiteral("ModCom80Colonne");
inline const QString CreditoSim = QStringLiteral("CreditoSim"); // also of DatiGestoreSim
// DatiGestoreSim
inline const QString IDGestore = QStringLiteral("IDGestore");
inline const QString GestoreSim = QStringLiteral("GestoreSim");
inline const QString Operativo = QStringLiteral("Operativo");
inline const QString TelCredito = QStringLiteral("TelCredito");
inline const QString TestoSmsCredito = QStringLiteral("TestoSmsCredito");
inline const QString ModalitaCre = QStringLiteral("ModalitaCre");
inline const QString ModRispCredito = QStringLiteral("ModRispCredito");
inline const QString DataScadenza = QStringLiteral("DataScadenza");
// SmsParti: one piece of a long message, and the pending record (number, date, first time)
// that holds its message.
inline const QString T5Numero = QStringLiteral("T5Numero");
inline const QString T5Riferimento = QStringLiteral("T5Riferimento");
inline const QString T5Totale = QStringLiteral("T5Totale");
inline const QString T5Parte = QStringLiteral("T5Parte");
inline const QString T5DataArrivo = QStringLiteral("T5DataArrivo");
inline const QString T5OrarioArrivo = QStringLiteral("T5OrarioArrivo");
inline const QString T5OrarioParte = QStringLiteral("T5OrarioParte");
inline const QString T5Testo = QStringLiteral("T5Testo");
} // namespace Campo
