# Precompiled Qt headers: a clean build gets a little slower, rebuilds a lot faster.
function(orvan_pch_core target)
  target_precompile_headers(${target} PRIVATE
    <QByteArray> <QString> <QStringList> <QList> <QHash> <QMap> <QVariant>
    <QDate> <QDateTime> <QDir> <QFile> <QFileInfo> <QDebug>
    <functional> <memory> <optional> <vector>)
endfunction()

function(orvan_pch_ui target)
  orvan_pch_core(${target})
  target_precompile_headers(${target} PRIVATE
    <QWidget> <QDialog> <QLabel> <QPushButton> <QLineEdit> <QLayout>
    <QApplication> <QMessageBox>)
endfunction()
