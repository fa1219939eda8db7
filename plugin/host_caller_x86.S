/* A caller of the module's entry points written as the platform's own
   compiler calls a __stdcall function on 32-bit Windows, independent of the
   compiler that built the module: arguments pushed right to left, records by
   value on the stack (first field at the lowest address), a record result
   through a hidden pointer pushed last, and the callee popping all of them.
   It calls on a stack aligned to only 4 bytes and, after every call, checks
   that esp is back where it was before the arguments were pushed, that ebx,
   esi, edi and ebp hold what they held, and that the x87 register stack is as
   deep as before.

   C declaration (cdecl):
     void callEntryPointsAsTheHost(const void* const entryPoints[16],
                                   HostCallRecord* record, uint32_t misalignment);
   entryPoints in the order of LOGGER_ENTRY_POINTS; misalignment (0, 4, 8 or
   12) is subtracted from a 16-byte aligned stack before the first call.
   HostCallRecord: int32 handles[4], int32 version, uint32 elapseResult
   (eax after Elapse), int32 failedCall (0, or the 1-based number of the
   first call that broke a rule), uint32 fault (1 esp, 2 ebx, 3 esi, 4 edi,
   5 ebp, 6 x87 stack depth), uint32 espBefore, uint32 espAfter. */

/* Offsets into the entry point table, in the order of LOGGER_ENTRY_POINTS. */
.set LOAD, 0
.set DISPOSE, 4
.set GET_PLUGIN_VERSION, 8
.set SET_VEHICLE_SPEC, 12
.set INITIALIZE, 16
.set ELAPSE, 20
.set SET_POWER, 24
.set SET_BRAKE, 28
.set SET_REVERSER, 32
.set KEY_DOWN, 36
.set KEY_UP, 40
.set HORN_BLOW, 44
.set DOOR_OPEN, 48
.set DOOR_CLOSE, 52
.set SET_SIGNAL, 56
.set SET_BEACON_DATA, 60

/* Offsets into HostCallRecord. */
.set HANDLES, 0
.set VERSION, 16
.set ELAPSE_RESULT, 20
.set FAILED_CALL, 24
.set FAULT, 28
.set ESP_BEFORE, 32
.set ESP_AFTER, 36

/* What the callee-saved registers hold across each call. */
.set EBX_MARK, 0x0b0b0b01
.set ESI_MARK, 0x05105102
.set EDI_MARK, 0x0d10d103
.set EBP_MARK, 0x0b0b0b04

  .bss
  .balign 4
entryPoints: .long 0
record: .long 0
callerEsp: .long 0
espBefore: .long 0
callNumber: .long 0
x87Depth: .long 0
panel: .space 256
sound: .space 256

  .text

/* BEGIN_CALL: notes the call's number and esp before its arguments. */
.macro BEGIN_CALL number
  movl $\number, callNumber
  movl %esp, espBefore
.endm

/* CALL_AND_CHECK entry: calls the entry point with the marks in the
   callee-saved registers, then checks them, esp and the x87 stack. */
.macro CALL_AND_CHECK entry
  movl entryPoints, %eax
  movl \entry(%eax), %eax
  movl $EBX_MARK, %ebx
  movl $ESI_MARK, %esi
  movl $EDI_MARK, %edi
  movl $EBP_MARK, %ebp
  call *%eax
  call checkAfterCall
.endm

/* CALL_WITH_ONE number, argument, entry: the call of an entry point that
   takes one 32-bit argument. */
.macro CALL_WITH_ONE number, argument, entry
  BEGIN_CALL \number
  pushl $\argument
  CALL_AND_CHECK \entry
.endm

/* Checks the rules after a call; returns to the caller's next instruction,
   or, on the first broken rule, records it and leaves the whole sequence.
   eax (a call's result) is kept. Its own return address sits where the
   checked esp would be, so esp is compared 4 bytes higher. */
checkAfterCall:
  movl %eax, %ecx
  leal 4(%esp), %edx
  cmpl espBefore, %edx
  movl $1, %eax
  jne fail
  cmpl $EBX_MARK, %ebx
  movl $2, %eax
  jne fail
  cmpl $ESI_MARK, %esi
  movl $3, %eax
  jne fail
  cmpl $EDI_MARK, %edi
  movl $4, %eax
  jne fail
  cmpl $EBP_MARK, %ebp
  movl $5, %eax
  jne fail
  fnstsw %ax
  andl $0x3800, %eax
  cmpl x87Depth, %eax
  movl $6, %eax
  jne fail
  movl %ecx, %eax
  ret

fail:
  movl record, %ecx
  movl %eax, FAULT(%ecx)
  movl callNumber, %eax
  movl %eax, FAILED_CALL(%ecx)
  movl espBefore, %eax
  movl %eax, ESP_BEFORE(%ecx)
  movl %edx, ESP_AFTER(%ecx)
  jmp leave_sequence

  .globl _callEntryPointsAsTheHost
_callEntryPointsAsTheHost:
  pushl %ebp
  pushl %ebx
  pushl %esi
  pushl %edi
  movl 20(%esp), %eax
  movl %eax, entryPoints
  movl 24(%esp), %eax
  movl %eax, record
  movl $0, FAILED_CALL(%eax)
  movl $0, FAULT(%eax)
  movl 28(%esp), %ecx
  movl %esp, callerEsp
  fnstsw %ax
  andl $0x3800, %eax
  movl %eax, x87Depth
  andl $-16, %esp
  subl %ecx, %esp

  BEGIN_CALL 1                    /* Load() */
  CALL_AND_CHECK LOAD

  BEGIN_CALL 2                    /* SetVehicleSpec({8, 5, 1, 7, 10}) */
  pushl $10                       /* cars */
  pushl $7                        /* secondBrakeNotch */
  pushl $1                        /* interlockNotch */
  pushl $5                        /* powerNotches */
  pushl $8                        /* brakeNotches */
  CALL_AND_CHECK SET_VEHICLE_SPEC

  CALL_WITH_ONE 3, 1, INITIALIZE  /* Initialize(1) */
  CALL_WITH_ONE 4, 3, SET_BRAKE   /* SetBrake(3) */
  CALL_WITH_ONE 5, 2, SET_POWER   /* SetPower(2) */
  CALL_WITH_ONE 6, -1, SET_REVERSER  /* SetReverser(-1) */
  CALL_WITH_ONE 7, 4, SET_SIGNAL  /* SetSignal(4) */

  BEGIN_CALL 8                    /* DoorOpen() */
  CALL_AND_CHECK DOOR_OPEN

  BEGIN_CALL 9                    /* DoorClose() */
  CALL_AND_CHECK DOOR_CLOSE

  BEGIN_CALL 10                   /* SetBeaconData({3, 6, 125.25f, 1001}) */
  pushl $1001                     /* optional */
  pushl $0x42fa8000               /* distance 125.25f */
  pushl $6                        /* signal */
  pushl $3                        /* type */
  CALL_AND_CHECK SET_BEACON_DATA

  CALL_WITH_ONE 11, 5, KEY_DOWN   /* KeyDown(5) */
  CALL_WITH_ONE 12, 1, HORN_BLOW  /* HornBlow(1) */
  CALL_WITH_ONE 13, 5, KEY_UP     /* KeyUp(5) */

  /* Elapse(state, panel, sound), the state's fields from last to first. */
  BEGIN_CALL 14
  pushl $sound
  pushl $panel
  pushl $0xc3168000               /* current -150.5f */
  pushl $0x41480000               /* straightAirPipePressure 12.5f */
  pushl $0x43f58000               /* brakePipePressure 491.0f */
  pushl $0x43f50000               /* equalizingReservoirPressure 490.0f */
  pushl $0x44480000               /* mainReservoirPressure 800.0f */
  pushl $0x43dc0000               /* brakeCylinderPressure 440.0f */
  pushl $36000000                 /* time */
  pushl $0x42910000               /* speed 72.5f */
  pushl $0x40934a00               /* location 1234.5: the high half, */
  pushl $0x00000000               /* then the low half at the lower address */
  movl record, %eax
  leal HANDLES(%eax), %eax
  pushl %eax                      /* the hidden result pointer, pushed last */
  CALL_AND_CHECK ELAPSE
  movl record, %ecx
  movl %eax, ELAPSE_RESULT(%ecx)

  BEGIN_CALL 15                   /* GetPluginVersion() */
  CALL_AND_CHECK GET_PLUGIN_VERSION
  movl record, %ecx
  movl %eax, VERSION(%ecx)

  BEGIN_CALL 16                   /* Dispose() */
  CALL_AND_CHECK DISPOSE

leave_sequence:
  movl callerEsp, %esp
  popl %edi
  popl %esi
  popl %ebx
  popl %ebp
  ret
