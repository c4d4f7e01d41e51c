#pragma once

// How long a test waits for an event it expects before it gives up: long enough that only a hang
// reaches it, also on a machine busy with other work. A test never asserts how long the event took.
constexpr int Patience = 60000;
