#include "toolkit/qt/WindowEntries.h"

#include <QFile>
#include <QFileDialog>
#include <QMenu>

#include "toolkit/qt/QtSurface.h"

namespace tk {

WindowEntryActions::WindowEntryActions(QWidget* window, std::function<void(int)> command)
    : m_window(window), m_command(std::move(command)) {}

WindowEntryActions::~WindowEntryActions() {
    for (const QPointer<QAction>& a : m_actions) delete a.data();
}

void WindowEntryActions::Set(const std::vector<WindowEntry>& entries) {
    // An open context menu may still show the old actions: they go once it closes.
    for (const QPointer<QAction>& a : m_actions)
        if (a) {
            m_window->removeAction(a);
            a->deleteLater();
        }
    m_actions.clear();
    for (const WindowEntry& e : entries) {
        auto* action = new QAction(QString::fromStdString(e.text), m_window);
        if (!e.shortcut.empty())
            action->setShortcut(QKeySequence(QString::fromStdString(e.shortcut)));
        action->setShortcutContext(Qt::WindowShortcut);
        action->setEnabled(e.enabled);
        const int id = e.commandId;
        QObject::connect(action, &QAction::triggered, action, [this, id] { m_command(id); });
        m_window->addAction(action);
        m_actions.emplace_back(action);
    }
}

void WindowEntryActions::AddTo(QMenu* menu) const {
    for (const QPointer<QAction>& a : m_actions)
        if (a) menu->addAction(a);
}

std::string RunFileDialog(QWidget* parent, ModalRunner& modal, const FileDialogRequest& request) {
    QFileDialog dialog(parent, QString::fromStdString(request.title));
    const bool save = request.kind == FileDialogRequest::Kind::Save;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!request.extension.empty()) {
        const QString ext = QString::fromStdString(request.extension);
        dialog.setNameFilters({QString::fromStdString(request.filterName) + " (*." + ext + ")",
                               QFileDialog::tr("All files (*)")});
        dialog.setDefaultSuffix(ext);
    }
    if (save && !request.suggestedName.empty())
        dialog.selectFile(QString::fromStdString(request.suggestedName));
    if (modal.Exec(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return QFile::encodeName(dialog.selectedFiles().first()).toStdString();
}

void QtSurface::SetWindowEntries(const std::vector<WindowEntry>& entries) {
    if (!m_windowEntries) {
        // Chosen entries are queued operations, as the menu bar's commands.
        m_windowEntries = std::make_unique<WindowEntryActions>(m_dialog.get(), [this](int id) {
            Post([this, id] {
                if (m_sink) m_sink->OnCommand(id);
            });
        });
        m_menus->SetMoreEntries([this](QMenu* menu) { m_windowEntries->AddTo(menu); });
    }
    m_windowEntries->Set(entries);
}

std::string QtSurface::AskFileName(const FileDialogRequest& request) {
    return RunFileDialog(m_dialog.get(), m_modal, request);
}

}  // namespace tk
