#pragma once

#include "app/main_window.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>
#include <QtWidgets/QMessageBox>

#include <memory>

// A window started in a fresh working directory of its own, on time scaled down.
class WindowFixture {
public:
    static constexpr int kTimeScale = 20;

    WindowFixture() : previous_(QDir::currentPath()) { QDir::setCurrent(dir_.path()); }
    ~WindowFixture()
    {
        window_.reset();
        QDir::setCurrent(previous_);
    }

    // Leaves a settings file in the working directory before the window starts.
    void storeSettings(const QByteArray &bytes)
    {
        QFile file(dir_.filePath(QStringLiteral("Varlo")));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
    }

    MainWindow &start(Timing timing = Timing{}.scaled(kTimeScale))
    {
        window_ = std::make_unique<MainWindow>(timing);
        window_->show();
        return *window_;
    }

    [[nodiscard]] QByteArray settingsBytes() const
    {
        QFile file(dir_.filePath(QStringLiteral("Varlo")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    [[nodiscard]] QString path(const QString &name) const { return dir_.filePath(name); }
    [[nodiscard]] QString directory() const { return dir_.path(); }

    // The message box the window has open, if any.
    [[nodiscard]] QMessageBox *messageBox() const
    {
        return window_ ? window_->findChild<QMessageBox *>(QStringLiteral("messageBox")) : nullptr;
    }

private:
    QTemporaryDir dir_;
    QString previous_;
    std::unique_ptr<MainWindow> window_;
};
