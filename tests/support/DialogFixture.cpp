#include "support/DialogFixture.h"

#include <cstdio>

DialogFixture::DialogFixture() : ui(app::MainDialogSpec()), port(clock) {}

DialogFixture::~DialogFixture() {
    dlg.reset();
}

void DialogFixture::Start() {
    dlg = std::make_unique<CReaderConfigDlg>(ui, port, port, clock);
    dlg->OnInitDialog();
}

sim::VirtualDevice& DialogFixture::AttachBeforeStart(std::unique_ptr<sim::ReaderModel> model) {
    return port.AttachQuietly(std::move(model));
}

std::vector<std::string> DialogFixture::OutputLines() const {
    std::vector<std::string> lines;
    const std::string text = ui.GetText(1000);
    size_t start = 0;
    for (;;) {
        const size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            if (start < text.size()) lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::string DialogFixture::LastLine() const {
    const auto lines = OutputLines();
    return lines.empty() ? std::string() : lines.back();
}

std::vector<std::string> DialogFixture::LinesSince(size_t mark) const {
    const auto lines = OutputLines();
    return mark >= lines.size() ? std::vector<std::string>{}
                                : std::vector<std::string>(lines.begin() + mark, lines.end());
}

std::string Stamped(const std::string& message, const tk::Clock& clock) {
    const tk::LocalDateTime t = clock.Now();
    char stamp[16];
    std::snprintf(stamp, sizeof stamp, " %02d:%02d:%02d", t.hour, t.minute, t.second);
    return message + stamp;
}
