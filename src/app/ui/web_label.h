#pragma once
// A link label: a caption that opens its address when the left mouse button
// goes down on it, drawn in its hover look while the mouse is over it. It
// takes no focus.

#include <QColor>
#include <QFont>
#include <QLabel>
#include <QRect>
#include <QString>

#include <string>

#include "platform/address_opener.h"

namespace talmeko::app::ui {

class TsWebLabel : public QLabel {
  Q_OBJECT

 public:
  struct Look {
    QFont font;
    QColor colour;
  };
  struct Settings {
    const char* name;
    QString caption;
    QString hint;
    // The whole address; an empty one makes a press do nothing.
    std::string address;
    QRect geometry;
    Look normal;
    Look hover;
    // A caption wider than its layout grows to both sides instead of to the right.
    bool centred = false;
  };

  TsWebLabel(QWidget* parent, const Settings& settings, platform::AddressOpener& opener);

  const std::string& Address() const { return address_; }

 protected:
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void Apply(const Look& look);

  std::string address_;
  Look normal_;
  Look hover_;
  platform::AddressOpener& opener_;
  QRect layout_;
  bool centred_;
};

}  // namespace talmeko::app::ui
