#pragma once
// The real boxes: QMessageBox with French buttons, QInputDialog and QFileDialog.

#include "platform/Dialogs.h"

class QWidget;

namespace platform {

class WidgetDialogs : public Dialogs
{
public:
    // Boxes are shown over the active window, or over parent when there is none, or over the
    // shown main window when it is not active yet.
    explicit WidgetDialogs(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }

    int ask(const QString& text, int style, const QString& title) override;
    std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                    const QString& defaultText) override;
    std::optional<QString> openFileName(const FileRequest& request) override;
    std::optional<QString> saveFileName(const FileRequest& request) override;

    // "Excel (*.xlsx)|*.xlsx|Tous (*.*)|*.*" -> "Excel (*.xlsx);;Tous (*.*)"
    static QString qtFilter(const QString& filter);

private:
    QWidget* owner() const;
    QWidget* m_parent;
};

} // namespace platform
