; "Two Winds", the tune of wrenfold_split (D major, about 150 beats a minute, 8 bars).
.include "nes.inc"
.include "sound.inc"
.include "split.inc"

; Lengths in frames: an eighth note is 12 frames.
N8  = LEN(12)
N4  = LEN(24)
N2  = LEN(48)
N2D = LEN(72)

.macro BEAT
    .byte DRUM_KICK, DRUM_HAT, DRUM_SNARE, DRUM_HAT, DRUM_KICK, DRUM_HAT, DRUM_SNARE, DRUM_HAT
.endmacro

.segment "RODATA"

song_split:
    .addr winds_lead, winds_harmony, winds_bass, winds_drums

winds_lead:
    .byte INSTR, I_LEAD
@loop:
    .byte N4, D5, FS5, N8, A5, G5, FS5, E5                     ; D
    .byte N2, D5, N4, A4, B4                                   ; D
    .byte N4, G4, B4, N8, D5, E5, FS5, G5                      ; G
    .byte N2D, E5, N4, REST                                    ; A
    .byte N4, FS5, A5, N8, B5, A5, G5, FS5                     ; D
    .byte N4, E5, G5, N2, B4                                   ; G
    .byte N8, A4, B4, CS5, D5, N4, E5, CS5                     ; A
    .byte N2D, D5, N4, REST                                    ; D
    .byte JUMP
    .addr @loop

winds_harmony:
    .byte INSTR, I_SOFT, N2
@loop:
    .byte FS4, A4, FS4, D4, G4, B4, A4, CS5
    .byte FS4, A4, G4, B4, E4, A4, FS4, D4
    .byte JUMP
    .addr @loop

winds_bass:
    .byte INSTR, I_TRI_SHORT, N4
@loop:
    .byte D3, A3, D3, A3, D3, A3, FS3, A3
    .byte G3, D4, G3, D4, A3, E4, A3, E4
    .byte D3, A3, D3, A3, G3, D4, E3, B3
    .byte A3, E4, A3, CS4, D3, A3, D3, D3
    .byte JUMP
    .addr @loop

winds_drums:
    .byte N8
@loop:
    .repeat 8
        BEAT
    .endrepeat
    .byte JUMP
    .addr @loop
