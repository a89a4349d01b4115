; iNES header of wrenfold_banks: mapper 2 (UNROM), 128 KB PRG ROM in eight 16 KB banks,
; 8 KB CHR RAM, vertical mirroring.
.segment "HEADER"
    .byte "NES", $1A
    .byte 8                 ; PRG ROM in 16 KB units
    .byte 0                 ; no CHR ROM: the board has CHR RAM
    .byte %00100001         ; mapper 2 low nibble, vertical mirroring
    .byte %00000000         ; mapper high nibble
    .res 8, 0
