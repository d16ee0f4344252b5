#include "platform/system/shell.h"

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <utility>

namespace sys {

namespace {

LaunchHook& Hook() {
    static LaunchHook hook;
    return hook;
}

std::string Unquoted(std::string link) {
    if (!link.empty() && link.front() == '"') {
        link.erase(0, 1);
        if (!link.empty() && link.back() == '"') link.pop_back();
    }
    return link;
}

}  // namespace

void SetLaunchHook(LaunchHook hook) { Hook() = std::move(hook); }

bool OpenLink(const std::string& link) {
    const std::string bare = Unquoted(link);
    const QUrl url(QString::fromStdString(bare), QUrl::TolerantMode);
    if (bare.empty() || !url.isValid() || url.scheme().isEmpty()) return false;
    const std::string program = "xdg-open";
    const std::vector<std::string> args{url.toString(QUrl::FullyEncoded).toStdString()};
    if (Hook()) return Hook()(program, args);
    QStringList qargs;
    for (const auto& a : args) qargs << QString::fromStdString(a);
    return QProcess::startDetached(QString::fromStdString(program), qargs);
}

}  // namespace sys
