; "Gallery Stroll", the tune of wrenfold_gallery (G major, slow, 8 bars).
.include "nes.inc"
.include "sound.inc"
.include "gallery.inc"

; Lengths in frames: a quarter note is 32 frames.
N4  = LEN(32)
N2  = LEN(64)
N2D = LEN(96)

.segment "RODATA"

song_gallery:
    .addr stroll_bell, stroll_pad, stroll_bass, stroll_drums

stroll_bell:
    .byte INSTR, I_BELL
@loop:
    .byte N4, G4, B4, D5, B4                                   ; G
    .byte N2, C5, N4, A4, FS4                                  ; D
    .byte N4, G4, B4, D5, G5                                   ; G
    .byte N2D, FS5, N4, REST                                   ; D
    .byte N4, E5, D5, C5, A4                                   ; C
    .byte N4, B4, D5, N2, G4                                   ; G
    .byte N4, A4, C5, FS4, A4                                  ; D
    .byte N2D, G4, N4, REST                                    ; G
    .byte JUMP
    .addr @loop

stroll_pad:
    .byte INSTR, I_PAD, N2
@loop:
    .byte B3, D4, A3, C4, B3, D4, A3, D4
    .byte G3, C4, G3, B3, FS3, C4, G3, B3
    .byte JUMP
    .addr @loop

stroll_bass:
    .byte INSTR, I_TRI, N2
@loop:
    .byte G2, D3, D3, A2, G2, B2, D3, A2
    .byte C3, G2, G2, D3, D3, A2, G2, G2
    .byte JUMP
    .addr @loop

stroll_drums:
    .byte N4
@loop:
    .repeat 8
        .byte DRUM_KICK, DRUM_HAT, DRUM_HAT, DRUM_HAT
    .endrepeat
    .byte JUMP
    .addr @loop
