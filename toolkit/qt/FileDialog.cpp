#include "toolkit/qt/FileDialog.h"

#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QTreeView>

#include "toolkit/qt/ModalRunner.h"

namespace tk {
namespace {

// The columns of Qt's file list.
enum Column { NAME, SIZE, TYPE, DATE };

// The file list's size, type and date texts in the interface language. Qt's
// file model takes them from the system's locale and the system's
// descriptions of file types ("JSON document"), whatever the interface says.
class FileListTexts : public QIdentityProxyModel {
  public:
    FileListTexts(const std::string& language, QObject* parent)
        : QIdentityProxyModel(parent),
          m_locale(QString::fromStdString(language)),
          m_chinese(m_locale.language() == QLocale::Chinese) {}

    QVariant data(const QModelIndex& index, int role) const override {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (role != Qt::DisplayRole || !files || index.column() == NAME)
            return QIdentityProxyModel::data(index, role);
        const QFileInfo info = files->fileInfo(mapToSource(index));
        switch (index.column()) {
            case SIZE:
                if (info.isDir()) break;
                if (info.size() < 1024)
                    return (m_chinese ? QStringLiteral("%1 字节") : QStringLiteral("%1 bytes"))
                        .arg(info.size());
                return m_locale.formattedDataSize(info.size(), 1,
                                                  QLocale::DataSizeTraditionalFormat);
            case TYPE: {
                if (info.isDir())
                    return m_chinese ? QStringLiteral("文件夹") : QStringLiteral("Folder");
                const QString suffix = info.suffix().toUpper();
                if (suffix.isEmpty())
                    return m_chinese ? QStringLiteral("文件") : QStringLiteral("File");
                return suffix + (m_chinese ? QStringLiteral(" 文件") : QStringLiteral(" File"));
            }
            case DATE:
                return m_locale.toString(info.lastModified(), QLocale::ShortFormat);
            default:
                break;
        }
        return QIdentityProxyModel::data(index, role);
    }

  private:
    const QLocale m_locale;
    const bool m_chinese;
};

}  // namespace

std::string RunFileDialog(QWidget* parent, ModalRunner& modal, const FileDialogRequest& request,
                          const std::string& language) {
    QFileDialog dialog(parent, QString::fromStdString(request.title));
    // The desktop's own dialog would speak the system's language.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setProxyModel(new FileListTexts(language, &dialog));
    if (auto* list = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        // The name takes what the other columns leave.
        QHeaderView* header = list->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(NAME, QHeaderView::Stretch);
        for (int column : {SIZE, TYPE, DATE})
            header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
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

}  // namespace tk
