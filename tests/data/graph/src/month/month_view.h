#pragma once
// Includes nothing of storage, although month links it.
