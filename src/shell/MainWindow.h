#pragma once

#include <QMainWindow>

namespace celltrove::shell {

/// The program's main window (object name "frmMain").
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);
};

/// "Celltrove für Excel - Build 13"
QString mainWindowTitle();

}  // namespace celltrove::shell
