#pragma once

// The list of scheduled events. It stays empty until events can be stored and edited.
class TEvents {};
