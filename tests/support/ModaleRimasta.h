#pragma once

class QObject;

// The safety net of a test that runs a real modal window: if the window the test opens is still
// the active modal one after `ms`, it is rejected, so that a regression fails the test instead of
// hanging it. The timer dies with `ambito`.
void ChiudiModaleRimasta(QObject* ambito, int ms = 5000);
