#include "info/feature_tables.h"

namespace velora {

namespace {

constexpr FeatureBit R{"", "Reserved"};

constexpr FeatureTable kStandardEdx{{
    {"FPU", "Floating-Point Unit"},
    {"VME", "Virtual Mode Extensions"},
    {"DE", "Debugging Extensions"},
    {"PSE", "Page Size Extensions"},
    {"TSC", "Time Stamp Counter"},
    {"MSR", "Model Specific Registers"},
    {"PAE", "Page Address Extensions"},
    {"MCE", "Machine Check Exception"},
    {"CX8", "CMPXCHG8B Instruction"},
    {"APIC", "APIC"},
    R,
    {"SEP", "SYSENTER/SYSEXIT Instructions"},
    {"MTRR", "Memory Type Range Registers"},
    {"PGE", "Global Paging Extension"},
    {"MCA", "Machine Check Architecture"},
    {"CMOV", "Conditional Move Instructions"},
    {"PAT", "Page Attribute Table"},
    {"PSE-36", "36-bit Page Size Extension"},
    {"PSN", "Processor Serial Number"},
    {"CLFSH", "CLFLUSH Instruction"},
    R,
    {"DS", "Debug Store"},
    {"ACPI", "ACPI"},
    {"MMX", "MMX Instructions"},
    {"FXSR", "FXSAVE/FXRSTOR Instructions"},
    {"SSE", "Streaming SIMD Extensions"},
    {"SSE2", "Streaming SIMD Extensions 2"},
    {"SS", "Self-Snoop"},
    {"HTT", "Hyper-Threading Technology"},
    {"TM", "Thermal Monitor"},
    {"IA-64", "IA-64 Processor Capable"},
    {"SBF", "Signal Break on FERR"},
}};

// The classic eight bits, then what the processors of today define in the same register.
constexpr FeatureTable kStandardEcx{{
    {"SSE3", "Streaming SIMD Extensions 3"},
    {"PCLMULQDQ", "Carry-Less Multiplication"},
    {"DTES64", "64-bit Debug Store"},
    {"MONITOR", "MONITOR/MWAIT Instructions"},
    {"DS-CPL", "CPL Qualified Debug Store"},
    {"VMX", "Virtual Machine Extensions"},
    {"SMX", "Safer Mode Extensions"},
    {"EST", "Enhanced SpeedStep Technology"},
    {"TM2", "Thermal Monitor 2"},
    {"SSSE3", "Supplemental Streaming SIMD Extensions 3"},
    {"CID", "Context ID"},
    {"SDBG", "Silicon Debug Interface"},
    {"FMA", "Fused Multiply-Add (3 operands)"},
    {"CX16", "CMPXCHG16B"},
    {"xTPR", "Send Task Priority Messages"},
    {"PDCM", "Perfmon and Debug Capability"},
    R,
    {"PCID", "Process-Context Identifiers"},
    {"DCA", "Direct Cache Access"},
    {"SSE4.1", "Streaming SIMD Extensions 4.1"},
    {"SSE4.2", "Streaming SIMD Extensions 4.2"},
    {"x2APIC", "x2APIC"},
    {"MOVBE", "MOVBE Instruction"},
    {"POPCNT", "POPCNT Instruction"},
    {"TSC-DL", "TSC Deadline Timer"},
    {"AES", "AES Instructions"},
    {"XSAVE", "XSAVE/XRSTOR Instructions"},
    {"OSXSAVE", "XSAVE Enabled by the OS"},
    {"AVX", "Advanced Vector Extensions"},
    {"F16C", "Half-Precision Conversion"},
    {"RDRAND", "RDRAND Instruction"},
    {"HYPERVISOR", "Running under a Hypervisor"},
}};

// Bits 0 to 8 are those of leaf 1 EDX; the rest are AMD's extended definitions.
constexpr FeatureTable ExtendedEdx() {
  FeatureTable t = kStandardEdx;
  constexpr FeatureBit kFromBit9[] = {
      {"APIC", "On-chip APIC Hardware"},
      R,
      {"SEP", "SYSCALL/SYSRET Instructions"},
      {"MTRR", "Memory Type Range Registers"},
      {"PGE", "Page Global Enable"},
      {"MCA", "Machine Check Architecture"},
      {"CMOV", "Conditional Move Instruction"},
      {"PAT", "Page Attribute Table"},
      {"PSE-36", "36-bit Page Size Extension"},
      R,
      {"MP", "Multiprocessing Capable"},
      {"NX", "No-execute Page Protection"},
      R,
      {"MMX+", "MMX Instruction Extensions"},
      {"MMX", "MMX Instructions"},
      {"FXSR", "FXSAVE/FXRSTOR Instructions"},
      {"FFXSR", "FXSAVE/FXRSTOR Optimizations"},
      {"Page1GB", "1 GB Pages"},
      {"RDTSCP", "RDTSCP Instruction"},
      R,
      {"x64", "AMD64/EM64T"},
      {"3DNow!+", "3DNow! Instruction Extensions"},
      {"3DNow!", "3DNow! Instructions"},
  };
  for (size_t bit = 9; bit < 32; ++bit) t[bit] = kFromBit9[bit - 9];
  return t;
}
constexpr FeatureTable kExtendedEdx = ExtendedEdx();

// AMD defines most of this register; Intel only LAHF, LZCNT and PREFETCHW (bits 0, 5 and 8).
// The first two keep the classic names whatever the vendor.
constexpr FeatureTable kExtendedEcxAmd{{
    {"LAHF", "LAHF/SAHF Support"},
    {"CMPL", "Core MultiProcessing legacy"},
    {"SVM", "Secure Virtual Machine"},
    {"ExtAPIC", "Extended APIC Space"},
    {"AltMovCr8", "LOCK MOV CR0 means MOV CR8"},
    {"ABM", "Advanced Bit Manipulation (LZCNT)"},
    {"SSE4A", "SSE4A Instructions"},
    {"MisAlignSSE", "Misaligned SSE Mode"},
    {"3DNowPrefetch", "PREFETCH/PREFETCHW Instructions"},
    {"OSVW", "OS Visible Workaround"},
    {"IBS", "Instruction Based Sampling"},
    {"XOP", "Extended Operation Instructions"},
    {"SKINIT", "SKINIT/STGI Instructions"},
    {"WDT", "Watchdog Timer"},
    R,
    {"LWP", "Lightweight Profiling"},
    {"FMA4", "Fused Multiply-Add (4 operands)"},
    {"TCE", "Translation Cache Extension"},
    R,
    R,
    R,
    {"TBM", "Trailing Bit Manipulation"},
    {"TopoExt", "Topology Extensions"},
    {"PerfCtrCore", "Core Performance Counter Extensions"},
    {"PerfCtrNB", "Northbridge Performance Counter Extensions"},
    R,
    {"DBX", "Data Breakpoint Extensions"},
    {"PerfTSC", "Performance Time-Stamp Counter"},
    {"PerfCtrL2I", "L2 Cache Performance Counter Extensions"},
    {"MONITORX", "MONITORX/MWAITX Instructions"},
    {"AddrMaskExt", "Breakpoint Address Mask Extension"},
    R,
}};

constexpr FeatureTable ExtendedEcxIntel() {
  FeatureTable t{};
  for (auto& bit : t) bit = R;
  t[0] = kExtendedEcxAmd[0];
  t[1] = kExtendedEcxAmd[1];
  t[5] = {"LZCNT", "LZCNT Instruction"};
  t[8] = {"PREFETCHW", "PREFETCHW Instruction"};
  return t;
}

constexpr FeatureTable Filled(std::initializer_list<FeatureBit> named) {
  FeatureTable t{};
  for (auto& bit : t) bit = R;
  size_t i = 0;
  for (const FeatureBit& bit : named) t[i++] = bit;
  return t;
}

const FeatureTable kVia = Filled({
    {"AIS", "Alternate Instruction Set"},
    {"AIS-E", "AIS enabled"},
    {"RNG", "Random Number Generator"},
    {"RNG-E", "RNG enabled"},
    {"LH", "LongHaul MSR 0000_110Ah"},
    {"FEMMS", "FEMMS"},
    {"ACE", "Advanced Cryptography Engine"},
    {"ACE-E", "ACE enabled"},
    {"MM", "Montgomery Multiplier"},
    {"MM-E", "Montgomery Multiplier enabled"},
});

const FeatureTable kTransmeta = Filled({
    {"BAD", "recovery CMS active"},
    {"LR", "LongRun"},
    {"???", "unknown"},
    {"LRTI", "LongRun Table Interface"},
});

constexpr FeatureTable kStructuredEbx{{
    {"FSGSBASE", "RD/WR FS/GS BASE Instructions"},
    {"TSC_ADJUST", "IA32_TSC_ADJUST MSR"},
    {"SGX", "Software Guard Extensions"},
    {"BMI1", "Bit Manipulation Instructions 1"},
    {"HLE", "Hardware Lock Elision"},
    {"AVX2", "Advanced Vector Extensions 2"},
    {"FDP_EXCPTN", "FPU Data Pointer on Exceptions Only"},
    {"SMEP", "Supervisor Mode Execution Prevention"},
    {"BMI2", "Bit Manipulation Instructions 2"},
    {"ERMS", "Enhanced REP MOVSB/STOSB"},
    {"INVPCID", "INVPCID Instruction"},
    {"RTM", "Restricted Transactional Memory"},
    {"RDT-M", "Resource Director Technology Monitoring"},
    {"FPU-CSDS", "FPU CS and DS Deprecated"},
    {"MPX", "Memory Protection Extensions"},
    {"RDT-A", "Resource Director Technology Allocation"},
    {"AVX512F", "AVX-512 Foundation"},
    {"AVX512DQ", "AVX-512 Doubleword and Quadword"},
    {"RDSEED", "RDSEED Instruction"},
    {"ADX", "Multi-Precision Add-Carry Instructions"},
    {"SMAP", "Supervisor Mode Access Prevention"},
    {"AVX512_IFMA", "AVX-512 Integer Fused Multiply-Add"},
    R,
    {"CLFLUSHOPT", "CLFLUSHOPT Instruction"},
    {"CLWB", "CLWB Instruction"},
    {"PT", "Processor Trace"},
    {"AVX512PF", "AVX-512 Prefetch"},
    {"AVX512ER", "AVX-512 Exponential and Reciprocal"},
    {"AVX512CD", "AVX-512 Conflict Detection"},
    {"SHA", "SHA Extensions"},
    {"AVX512BW", "AVX-512 Byte and Word"},
    {"AVX512VL", "AVX-512 Vector Length"},
}};

constexpr FeatureTable kStructuredEcx{{
    {"PREFETCHWT1", "PREFETCHWT1 Instruction"},
    {"AVX512_VBMI", "AVX-512 Vector Bit Manipulation"},
    {"UMIP", "User-Mode Instruction Prevention"},
    {"PKU", "Protection Keys for User Pages"},
    {"OSPKE", "Protection Keys Enabled by the OS"},
    {"WAITPKG", "TPAUSE/UMONITOR/UMWAIT"},
    {"AVX512_VBMI2", "AVX-512 Vector Bit Manipulation 2"},
    {"CET_SS", "CET Shadow Stack"},
    {"GFNI", "Galois Field Instructions"},
    {"VAES", "Vector AES"},
    {"VPCLMULQDQ", "Vector Carry-Less Multiplication"},
    {"AVX512_VNNI", "AVX-512 Vector Neural Network Instructions"},
    {"AVX512_BITALG", "AVX-512 Bit Algorithms"},
    {"TME", "Total Memory Encryption"},
    {"AVX512_VPOPCNTDQ", "AVX-512 Vector Population Count"},
    R,
    {"LA57", "5-Level Paging"},
    {"MAWAU0", "MPX Address-Width Adjust, bit 0"},
    {"MAWAU1", "MPX Address-Width Adjust, bit 1"},
    {"MAWAU2", "MPX Address-Width Adjust, bit 2"},
    {"MAWAU3", "MPX Address-Width Adjust, bit 3"},
    {"MAWAU4", "MPX Address-Width Adjust, bit 4"},
    {"RDPID", "RDPID Instruction"},
    {"KL", "Key Locker"},
    {"BUS_LOCK", "Bus Lock Detection"},
    {"CLDEMOTE", "Cache Line Demote"},
    R,
    {"MOVDIRI", "MOVDIRI Instruction"},
    {"MOVDIR64B", "MOVDIR64B Instruction"},
    {"ENQCMD", "Enqueue Stores"},
    {"SGX_LC", "SGX Launch Configuration"},
    {"PKS", "Protection Keys for Supervisor Pages"},
}};

constexpr FeatureTable kStructuredEdx{{
    R,
    {"SGX_KEYS", "Attestation Services for SGX"},
    {"AVX512_4VNNIW", "AVX-512 4-register Neural Network Instructions"},
    {"AVX512_4FMAPS", "AVX-512 4-register Multiply Accumulation"},
    {"FSRM", "Fast Short REP MOV"},
    {"UINTR", "User Interrupts"},
    R,
    R,
    {"AVX512_VP2INTERSECT", "AVX-512 Vector Pair Intersection"},
    {"SRBDS_CTRL", "SRBDS Mitigation Control"},
    {"MD_CLEAR", "VERW Clears Buffers"},
    {"RTM_ALWAYS_ABORT", "RTM Always Aborts"},
    R,
    {"RTM_FORCE_ABORT", "RTM Force Abort MSR"},
    {"SERIALIZE", "SERIALIZE Instruction"},
    {"HYBRID", "Hybrid Part (performance and efficient cores)"},
    {"TSXLDTRK", "TSX Suspend Load Address Tracking"},
    R,
    {"PCONFIG", "Platform Configuration"},
    {"ARCH_LBR", "Architectural Last Branch Records"},
    {"CET_IBT", "CET Indirect Branch Tracking"},
    R,
    {"AMX-BF16", "AMX on bfloat16 Numbers"},
    {"AVX512_FP16", "AVX-512 Half-Precision Arithmetic"},
    {"AMX-TILE", "AMX Tile Architecture"},
    {"AMX-INT8", "AMX on 8-bit Integers"},
    {"IBRS_IBPB", "Indirect Branch Restricted Speculation"},
    {"STIBP", "Single Thread Indirect Branch Predictors"},
    {"L1D_FLUSH", "IA32_FLUSH_CMD MSR"},
    {"ARCH_CAP", "IA32_ARCH_CAPABILITIES MSR"},
    {"CORE_CAP", "IA32_CORE_CAPABILITIES MSR"},
    {"SSBD", "Speculative Store Bypass Disable"},
}};

constexpr FeatureTable kStructured1Eax{{
    {"SHA512", "SHA-512 Instructions"},
    {"SM3", "SM3 Hash Instructions"},
    {"SM4", "SM4 Cipher Instructions"},
    {"RAO-INT", "Remote Atomic Operations on Integers"},
    {"AVX-VNNI", "AVX Vector Neural Network Instructions"},
    {"AVX512_BF16", "AVX-512 bfloat16 Instructions"},
    {"LASS", "Linear Address Space Separation"},
    {"CMPCCXADD", "CMPccXADD Instructions"},
    {"ArchPerfmonExt", "Architectural Performance Monitoring Leaf 23h"},
    R,
    {"FZLRM", "Fast Zero-Length REP MOVSB"},
    {"FSRS", "Fast Short REP STOSB"},
    {"FSRCS", "Fast Short REP CMPSB/SCASB"},
    R,
    R,
    R,
    R,
    {"FRED", "Flexible Return and Event Delivery"},
    {"LKGS", "LKGS Instruction"},
    {"WRMSRNS", "WRMSRNS Instruction"},
    {"NMI_SRC", "NMI Source Reporting"},
    {"AMX-FP16", "AMX on FP16 Numbers"},
    {"HRESET", "HRESET Instruction"},
    {"AVX-IFMA", "AVX Integer Fused Multiply-Add"},
    R,
    R,
    {"LAM", "Linear Address Masking"},
    {"MSRLIST", "RDMSRLIST/WRMSRLIST Instructions"},
    R,
    R,
    {"INVD_DISABLE", "INVD Disabled after BIOS Done"},
    {"MOVRS", "MOVRS Instructions"},
}};

const FeatureTable kXsave = Filled({
    {"XSAVEOPT", "XSAVEOPT Instruction"},
    {"XSAVEC", "XSAVEC Instruction (compacted form)"},
    {"XGETBV1", "XGETBV with ECX = 1"},
    {"XSAVES", "XSAVES/XRSTORS Instructions"},
    {"XFD", "Extended Feature Disable"},
});

const FeatureTable kPower = Filled({
    {"DTS", "Digital Temperature Sensor"},
    {"TURBO", "Turbo Boost Technology"},
    {"ARAT", "APIC Timer Always Running"},
    R,
    {"PLN", "Power Limit Notification"},
    {"ECMD", "Clock Modulation Duty Cycle Extension"},
    {"PTM", "Package Thermal Management"},
    {"HWP", "Hardware-Controlled Performance States"},
    {"HWP_NOTIFY", "HWP Notification"},
    {"HWP_ACT_WINDOW", "HWP Activity Window"},
    {"HWP_EPP", "HWP Energy Performance Preference"},
    {"HWP_PKG_REQ", "HWP Package Level Request"},
    R,
    {"HDC", "Hardware Duty Cycling"},
    {"TURBO3", "Turbo Boost Max Technology 3.0"},
    {"HWP_CAP", "HWP Highest Performance Change"},
    {"HWP_PECI", "HWP PECI Override"},
    {"HWP_FLEX", "Flexible HWP"},
    {"HWP_FAST", "Fast Access Mode for HWP Request MSR"},
    {"HW_FEEDBACK", "Hardware Feedback Interface"},
    {"HWP_IGNORE_IDLE", "Idle Logical Processor HWP Request Ignored"},
    R,
    {"HWP_CTL", "IA32_HWP_CTL MSR"},
    {"ITD", "Thread Director"},
    {"THERM_INT_25", "IA32_THERM_INTERRUPT Bit 25"},
});

// AMD defines the register; Intel only bit 8, with the same meaning.
const FeatureTable kAdvancedPowerAmd = Filled({
    {"TS", "Temperature Sensor"},
    {"FID", "Frequency ID Control"},
    {"VID", "Voltage ID Control"},
    {"TTP", "Thermal Trip"},
    {"HTC", "Hardware Thermal Control"},
    {"STC", "Software Thermal Control"},
    {"100MHzSteps", "100 MHz Multiplier Steps"},
    {"HwPstate", "Hardware P-State Control"},
    {"TscInvariant", "Invariant Time Stamp Counter"},
    {"CPB", "Core Performance Boost"},
    {"EffFreqRO", "Read-Only Effective Frequency Interface"},
    {"ProcFeedback", "Processor Feedback Interface"},
    {"ProcPowerReporting", "Processor Power Reporting"},
    {"ConnectedStandby", "Connected Standby"},
    {"RAPL", "Running Average Power Limit"},
    {"FastCPPC", "Fast CPPC"},
});

constexpr FeatureTable OnlyBits(const FeatureTable& from, std::initializer_list<size_t> kept) {
  FeatureTable t{};
  for (auto& bit : t) bit = R;
  for (size_t bit : kept) t[bit] = from[bit];
  return t;
}

const FeatureTable kExtendedEbx8Amd = Filled({
    {"CLZERO", "CLZERO Instruction"},
    {"IRPERF", "Instructions Retired Count MSR"},
    {"XSAVEERPTR", "FXSAVE/XSAVE Always Save Error Pointers"},
    {"INVLPGB", "INVLPGB/TLBSYNC Instructions"},
    {"RDPRU", "RDPRU Instruction"},
    R,
    {"MBE", "Memory Bandwidth Enforcement"},
    R,
    {"MCOMMIT", "MCOMMIT Instruction"},
    {"WBNOINVD", "WBNOINVD Instruction"},
    R,
    R,
    {"IBPB", "Indirect Branch Prediction Barrier"},
    {"INT_WBINVD", "Interruptible WBINVD/WBNOINVD"},
    {"IBRS", "Indirect Branch Restricted Speculation"},
    {"STIBP", "Single Thread Indirect Branch Predictors"},
    {"IBRS_ALWAYS_ON", "IBRS Always On Preferred"},
    {"STIBP_ALWAYS_ON", "STIBP Always On Preferred"},
    {"IBRS_PREFERRED", "IBRS Preferred over Software Mitigations"},
    {"IBRS_SAME_MODE", "IBRS Protects Same Mode"},
    {"NO_EFER_LMSLE", "EFER.LMSLE Unsupported"},
    {"INVLPGB_NESTED", "INVLPGB for Nested Pages"},
    R,
    {"PPIN", "Protected Processor Inventory Number"},
    {"SSBD", "Speculative Store Bypass Disable"},
    {"VIRT_SSBD", "SSBD through VIRT_SPEC_CTRL"},
    {"SSB_NO", "Speculative Store Bypass Disable Not Required"},
    {"CPPC", "Collaborative Processor Performance Control"},
    {"PSFD", "Predictive Store Forwarding Disable"},
    {"BTC_NO", "No Branch Type Confusion"},
    {"IBPB_RET", "IBPB Clears Return Address Predictor"},
    {"BRANCH_SAMPLING", "Branch Sampling"},
});

bool IsAmdDesign(const std::string& vendorShortName) {
  // Hygon's processors are AMD's design; the other vendors follow Intel's definitions.
  return vendorShortName == "AMD" || vendorShortName == "Hygon";
}

}  // namespace

const char* FeatureTableCaption(FeatureRegister reg) {
  switch (reg) {
    case FeatureRegister::kStandardEdx: return "Standard (EDX)";
    case FeatureRegister::kStandardEcx: return "Standard (ECX)";
    case FeatureRegister::kExtendedEdx: return "Extended (EDX)";
    case FeatureRegister::kExtendedEcx: return "Extended (ECX)";
    case FeatureRegister::kVia: return "VIA";
    case FeatureRegister::kTransmeta: return "Transmeta";
    case FeatureRegister::kStructuredEbx: return "Leaf 7 (EBX)";
    case FeatureRegister::kStructuredEcx: return "Leaf 7 (ECX)";
    case FeatureRegister::kStructuredEdx: return "Leaf 7 (EDX)";
    case FeatureRegister::kStructured1Eax: return "Leaf 7.1 (EAX)";
    case FeatureRegister::kXsaveEax: return "Leaf D.1 (EAX)";
    case FeatureRegister::kPowerEax: return "Leaf 6 (EAX)";
    case FeatureRegister::kAdvancedPowerEdx: return "Ext. 7 (EDX)";
    case FeatureRegister::kExtendedEbx8: return "Ext. 8 (EBX)";
  }
  return "";
}

FeatureTable FeatureTableFor(FeatureRegister reg, const std::string& vendorShortName) {
  switch (reg) {
    case FeatureRegister::kStandardEdx: return kStandardEdx;
    case FeatureRegister::kStandardEcx: return kStandardEcx;
    case FeatureRegister::kExtendedEdx: return kExtendedEdx;
    case FeatureRegister::kExtendedEcx:
      return IsAmdDesign(vendorShortName) ? kExtendedEcxAmd : ExtendedEcxIntel();
    case FeatureRegister::kVia: return kVia;
    case FeatureRegister::kTransmeta: return kTransmeta;
    case FeatureRegister::kStructuredEbx: return kStructuredEbx;
    case FeatureRegister::kStructuredEcx: return kStructuredEcx;
    case FeatureRegister::kStructuredEdx: return kStructuredEdx;
    case FeatureRegister::kStructured1Eax: return kStructured1Eax;
    case FeatureRegister::kXsaveEax: return kXsave;
    case FeatureRegister::kPowerEax: return kPower;
    case FeatureRegister::kAdvancedPowerEdx:
      return IsAmdDesign(vendorShortName) ? kAdvancedPowerAmd : OnlyBits(kAdvancedPowerAmd, {8});
    case FeatureRegister::kExtendedEbx8:
      // Intel defines bit 9 alone, with AMD's meaning.
      return IsAmdDesign(vendorShortName) ? kExtendedEbx8Amd : OnlyBits(kExtendedEbx8Amd, {9});
  }
  return {};
}

}  // namespace velora
