#pragma once
// A job object that ends the processes put into it when its last handle closes: a kof
// or a batch that is ended, however it ends, leaves no kof-export running.
#include <windows.h>

// The job, or null when the system makes none (its processes then outlive their starter).
HANDLE KillingJob();
