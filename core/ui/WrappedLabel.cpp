#include "core/ui/WrappedLabel.h"

#include <QEvent>
#include <QLabel>

namespace kx {

namespace {

class WholeLabel : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Resize)
            return false;
        auto *label = static_cast<QLabel *>(watched);
        const int needed = label->heightForWidth(label->width());
        if (needed != label->minimumHeight())
            label->setMinimumHeight(needed);
        return false;
    }
};

} // namespace

void keepWrappedLabelWhole(QLabel *label)
{
    label->installEventFilter(new WholeLabel(label));
}

} // namespace kx
