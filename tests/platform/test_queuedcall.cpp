// Posted calls run from the event loop, after the caller returns, and not
// for a receiver that is gone.
#include "platform/queuedcall.h"

#include <QCoreApplication>
#include <QPointer>

#include <gtest/gtest.h>

#include <vector>

TEST(QueuedCall, RunsLaterInOrderAndNotForADeletedReceiver)
{
    std::vector<int> order;
    QObject receiver;
    auto* doomed = new QObject;
    PostCall(&receiver, [&] { order.push_back(1); });
    PostCall(doomed, [&] { order.push_back(99); });
    PostCall(&receiver, [&] { order.push_back(2); });
    delete doomed;
    order.push_back(0);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));

    QPointer<QObject> window = new QObject;
    PostDestroy(window);
    EXPECT_FALSE(window.isNull()); // still usable by the caller
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
    PostDestroy(nullptr);
}
