#include "site_port.h"

#include "link/protocol.h"
#include "link/serial_port.h"

#include <algorithm>

tarnel::link::Line& WindowPort::Line(const tarnel::link::StopSource& stop)
{
    return m_line.emplace(m_port, &stop);
}

std::optional<int> WindowPort::BaudIndex() const
{
    tarnel::platform::LineSettings settings;
    if (!m_port.ReadSettings(settings)) {
        return std::nullopt;
    }
    const auto& rates = tarnel::link::kBaudRates;
    const auto found = std::ranges::find(rates, settings.baudRate, &tarnel::link::BaudRate::rate);
    return found == rates.end() ? std::nullopt : std::optional(static_cast<int>(found - rates.begin()));
}

bool WindowPort::SetSpeed(int baudIndex)
{
    return tarnel::link::SetSpeed(m_port, baudIndex);
}
