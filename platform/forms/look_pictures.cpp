#include "platform/forms/internal/look_pictures.h"

#include <QFont>
#include <QPalette>

namespace forms {

LookKey& LookKey::operator<<(const QString& s) {
    *this << s.size();
    bytes_.append(reinterpret_cast<const char*>(s.utf16()), s.size() * 2);
    return *this;
}

LookKey& LookKey::operator<<(const QFont& f) { return *this << f.key(); }

LookKey& LookKey::operator<<(const QPalette& p) {
    for (int role = 0; role < QPalette::NColorRoles; ++role)
        *this << p.color(static_cast<QPalette::ColorRole>(role)).rgba();
    return *this;
}

}  // namespace forms
