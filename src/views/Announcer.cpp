#include "Announcer.h"

#include <QAccessibleWidget>

namespace {

class AnnouncerInterface : public QAccessibleWidget
{
public:
    explicit AnnouncerInterface(Announcer* announcer)
        : QAccessibleWidget(announcer, QAccessible::Notification)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? static_cast<Announcer*>(widget())->text() : QString();
    }
};

QAccessibleInterface* announcerInterface(const QString& className, QObject* object)
{
    auto* announcer = qobject_cast<Announcer*>(object);
    return className == QLatin1String("Announcer") && announcer ? new AnnouncerInterface(announcer) : nullptr;
}

} // namespace

Announcer::Announcer(QWidget* statusBar)
    : QWidget(statusBar)
{
    static const bool installed = (QAccessible::installFactory(announcerInterface), true);
    Q_UNUSED(installed)
    setObjectName(QStringLiteral("announcer"));
    hide();
}

void Announcer::say(const QString& text)
{
    m_text = text;
    if (m_waiting)
        return;
    m_waiting = true;
    QMetaObject::invokeMethod(this, &Announcer::announce, Qt::QueuedConnection);
}

void Announcer::announce()
{
    m_waiting = false;
    QAccessibleEvent shown(this, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}
