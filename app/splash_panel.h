// The splash panel: a frameless, see-through window with the program's name and version,
// shown while the program starts and closed at its first activation. It takes no clicks.
#pragma once

#include <QWidget>

class SplashPanel : public QWidget {
    Q_OBJECT
public:
    SplashPanel();

protected:
    void paintEvent(QPaintEvent *event) override;
};
