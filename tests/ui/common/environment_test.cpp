#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>

TEST(QtEnvironment, OneApplicationOnTheOffscreenPlatform)
{
    ASSERT_NE(QApplication::instance(), nullptr);
    EXPECT_EQ(QGuiApplication::platformName(), "offscreen");
}
