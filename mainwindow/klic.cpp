// The tone-name object of the window: the component calvira's Calvira12,
// made by its class id the first time it is needed and kept until the
// window goes. An unregistered component gives runtime error 429.
#include "mainwindow/form1.h"

calvira::_Calvira12& Form1::Klic() {
    if (!Klic_) Klic_ = com::CreateObject<calvira::_Calvira12>(calvira::CLSID_Calvira12, calvira::IID_Calvira12);
    return *Klic_.Get();
}
