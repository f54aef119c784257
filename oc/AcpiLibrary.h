// The maker's ACPI access library (KVACPI.DLL), imported by ordinal at load time.
// Element lists (groups, item descriptors) are opaque: they are read only through
// AcpiFirstElement, AcpiElementCount, AcpiElementData and AcpiNextElement.
#pragma once

#include <cstdint>

#ifndef KVACPI_API
#define KVACPI_API __declspec(dllimport)
#endif

extern "C" {
KVACPI_API uint32_t __stdcall AcpiOpen();                                                     // @1
KVACPI_API uint32_t __stdcall AcpiWriteItem(uint32_t id, uint32_t value, uint32_t one);       // @2
KVACPI_API uint32_t __stdcall AcpiReadItem(uint32_t id, uint32_t* value);                     // @3
KVACPI_API uint32_t __stdcall AcpiReadGroup(uint32_t group, void* buffer, uint32_t* size);    // @5
KVACPI_API void* __stdcall AcpiFirstElement(const void* list);                                // @6
KVACPI_API uint32_t __stdcall AcpiElementCount(const void* list);                             // @7
KVACPI_API void* __stdcall AcpiElementData(const void* element);                              // @9
KVACPI_API void* __stdcall AcpiNextElement(const void* element);                              // @10
KVACPI_API uint32_t __stdcall AcpiReadItemInfo(const void* data, void* buffer, uint32_t* size); // @11
KVACPI_API uint32_t __stdcall AcpiCallMethod(uint32_t method, uint32_t argument, void* buffer,
                                             uint32_t* size);                                 // @13
}

// Every buffer handed to the library holds this many bytes.
inline constexpr uint32_t AcpiBufferSize = 4096;
