#pragma once

#include <QString>

// The operator window's own texts. Button captions double as on/off
// state and are compared as exact text.

inline const QString kSearchCaption = QStringLiteral("搜索");
inline const QString kStopCaption = QStringLiteral("停止");
inline const QString kOpenPortCaption = QStringLiteral("打开串口");
inline const QString kClosePortCaption = QStringLiteral("关闭串口");

inline const QString kOpenPortFirst = QStringLiteral("请先打开串口");
inline const QString kPortAlreadyOpen = QStringLiteral("串口已经打开");
inline const QString kPortOpened = QStringLiteral("打开成功");
inline const QString kPortOpenFailed = QStringLiteral("打开串口失败");
inline const QString kPortClosed = QStringLiteral("串口已关闭");
inline const QString kSetSucceeded = QStringLiteral("设置成功");
inline const QString kSetFailed = QStringLiteral("设置失败");

inline const QString kAddressFound = QStringLiteral("地址为:%1");
inline const QString kNoAddressFound = QStringLiteral("没有搜到地址！");
