// Stepping through a song.
#include "mainwindow/form1.h"

// The buttons that step back are switched together.
void Form1::ZakazKrokZpet() {
    cmdPredchozi.Enabled = false;
    cmdPredTlak.Enabled = false;
    cmdPredTah.Enabled = false;
    cmdJakDalZpet.Enabled = false;
}

void Form1::PovolKrokZpet() {
    cmdPredchozi.Enabled = true;
    cmdPredTlak.Enabled = true;
    cmdPredTah.Enabled = true;
    cmdJakDalZpet.Enabled = true;
}
