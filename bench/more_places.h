#pragma once
// The places beyond the original four, for bench_floor: seeded on the real system (Store app
// startup tasks with their manifests, 200 task definitions in 20 folders, RunOnce and policy
// Run values), read by a bare API loop (the floor), and removed again.

#include <windows.h>

namespace tarnwick::bench {

// Deletes the values of the key (64-bit view) whose names start with `prefix`.
void DeleteValuesStartingWith(HKEY root, const wchar_t* path, const wchar_t* prefix);

bool SeedMorePlaces();
void UnseedMorePlaces();

// The floors of the sources, in the order the catalogue reads them.
// The root folder through COM; where it cannot be counted, the definition files and each
// listed task's state by its path, as the catalogue needs them.
void FloorTasks();
void FloorStoreApps();   // SystemAppData, the packages' folders, their manifests
void FloorMoreKeys();    // RunOnce, the policy Run keys, Winlogon

}  // namespace tarnwick::bench
