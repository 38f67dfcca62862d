#pragma once
// Stands in for the main window: records the start requests the channel window sends and
// the stream address it finds when each arrives.

#include <QString>
#include <QWidget>

class MainWindowStub : public QWidget
{
public:
    explicit MainWindowStub(const QString& streamAddress) : streamAddress(streamAddress) {}

    int startRequests = 0;
    QString addressAtStart;

protected:
    bool event(QEvent* event) override;

private:
    const QString& streamAddress;
};
