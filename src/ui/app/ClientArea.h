#pragma once

#include <QMdiArea>

namespace veltro {

// The main window's client area: the session windows, and the program's logo drawn in the
// lower right corner of the empty space.
class ClientArea : public QMdiArea {
    Q_OBJECT
public:
    explicit ClientArea(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
};

} // namespace veltro
