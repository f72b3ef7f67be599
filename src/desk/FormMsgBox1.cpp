#include "FormMsgBox1.h"

#include "platform/Suono.h"

#include <QDir>

FormMsgBox1::FormMsgBox1(const QString& cartellaProgramma, bool& visualizzaSmsArrivati,
                         QWidget* parent)
    : SchedaSms(QStringLiteral("FormMsgBox1"),
                {QStringLiteral("Nuovo SMS Arrivato!"),
                 QStringLiteral("Lettura Effettuata Con Successo")},
                DidascalieSms(), {QStringLiteral("Ok")}, parent)
    , cartellaProgramma_(cartellaProgramma)
    , visualizzaSmsArrivati_(visualizzaSmsArrivati) {
    // The sound comes first: the notice appears once it has played.
    Suona();
}

void FormMsgBox1::Suona() {
    Suono::RiproduciSincrono(QDir(cartellaProgramma_).filePath(QStringLiteral("notify.wav")));
}

void FormMsgBox1::Command1_Click(int index) {
    if (index != 0)
        return;
    visualizzaSmsArrivati_ = true;
    hide();
}

void FormMsgBox1::reject() {
    Command1_Click(0);
}
