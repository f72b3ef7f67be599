#pragma once

#include <QStringList>
#include <functional>
#include <span>

class QHBoxLayout;
class QPushButton;
class QWidget;

// One row of an indexed button array (Command1(0..n)): each button gets its caption, the name
// <nome>_<index>, no default-button behaviour, and hands its click to `clic` with its index.
QHBoxLayout* RigaPulsanti(QWidget* padre, std::span<QPushButton*> pulsanti,
                          const QStringList& didascalie, const QString& nome,
                          const std::function<void(int)>& clic);
