// The program's pictures, drawn by the program itself and compiled into it:
// the bitmaps loaded by id and the hidden picture sources of the keyboards
// and staffs, looked up by the name of the control that holds them.
#pragma once

#include <string>
#include <vector>

#include "platform/forms/picture.h"

namespace resources {

// The bitmap `id` (102, 122, 123, 124, 129, 130, 131, 132, 133). The same id
// gives the same picture every time. Runtime error 326 when there is none.
forms::Picture LoadResPicture(int id);

// The ids LoadResPicture knows, in ascending order.
std::vector<int> ResourceBitmapIds();

// The picture of a hidden source control: "imgKnoflikVol" and "imgKnofCerv"
// with index 0 (white-key button) or 1 (black-key button); "imgKnofTlak",
// "imgKnofTlak2", "imgKnofTah", "imgKnofTah2"; the bass sources "imgBaVol",
// "imgBaVolC", "imgBaVolMriz", "imgBaTlak1", "imgBaTlakC", "imgBaTlakMriz",
// "imgBaTah1", "imgBaTahC", "imgBaTahMriz", "imgBaCerv1", "imgBaStiskC",
// "imgBaStiskMriz", "imgBaCerv2"; the staff pictures "picNota", "picBecko",
// "picKrizek", "picOdrazka" (entry staff) and "imgNota", "imgBecko",
// "imgKrizek" (reading staff and strip). The same name and index give the
// same picture every time. Runtime error 326 for an unknown name or index.
forms::Picture SourcePicture(const std::string& name, int index = 0);

// Every name SourcePicture knows with its indexes, as "name" or "name(i)".
std::vector<std::string> SourcePictureNames();

}  // namespace resources
