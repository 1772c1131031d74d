#pragma once

// The system's time-zone catalogue. It stays empty until it is read from the registry.
class TTimeZones {};
