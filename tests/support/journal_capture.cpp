#include "support/journal_capture.h"

#include <stdexcept>

namespace testsupport {

namespace {
JournalCapture* active = nullptr;
}

JournalCapture::JournalCapture() {
    if (active) {
        throw std::logic_error("one journal capture at a time");
    }
    active = this;
    previous_ = qInstallMessageHandler(&JournalCapture::Handle);
}

JournalCapture::~JournalCapture() {
    qInstallMessageHandler(previous_);
    active = nullptr;
}

void JournalCapture::Handle(QtMsgType type, const QMessageLogContext& context,
                            const QString& text) {
    if (type == QtWarningMsg && text.startsWith(QLatin1String("lyrabox: "))) {
        active->warnings_ << text;
    } else if (active->previous_) {
        active->previous_(type, context, text);
    }
}

}  // namespace testsupport
