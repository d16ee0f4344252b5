// The window's key-signature drawer, note recognition and red-note slots: one object for the
// window's life, made when it is first needed.
#include "mainwindow/form1.h"
#include "notation/zapis/notyzapis.h"

clsNotyZapis& Form1::Zapis() {
    if (!Zapis_)
        Zapis_ = std::make_shared<clsNotyZapis>(clsNotyZapis::Okno{.picKrizekStup = picKrizekStup,
                                                                   .picBeckoStup = picBeckoStup,
                                                                   .picOdrazka = &picOdrazka,
                                                                   .picBecko = &picBecko,
                                                                   .picKrizek = &picKrizek,
                                                                   .cmdStupnice = &cmdStupnice});
    return *Zapis_;
}
