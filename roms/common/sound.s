; A small sound driver: four music tracks (pulse 1, pulse 2, triangle, noise) and two effect
; tracks that take over pulse 2 and the noise channel while they play. Volumes are driven from
; software envelopes with the channels in constant-volume mode; a delta-modulation sample adds a
; kick drum. sound_update runs once per frame from the NMI.
.include "nes.inc"
.include "sound.inc"

NUM_TRACKS      = 6
TRACK_SQ1       = 0
TRACK_SQ2       = 1
TRACK_TRI       = 2
TRACK_NOISE     = 3
TRACK_SFX_PULSE = 4
TRACK_SFX_NOISE = 5
NO_NOTE         = $FF
ENV_HOLD        = $FF           ; envelope end: keep the last volume
DEFAULT_LEN     = 12

.segment "ZEROPAGE"
music_enabled:  .res 1
snd_ptr:        .res 2          ; stream being read (the driver's own pointers: it runs in the NMI)
snd_env:        .res 2
snd_lock:       .res 1          ; non-zero while main code changes the tracks
snd_reg:        .res 1
snd_chan:       .res 1
snd_note:       .res 1

.segment "BSS"
trk_active:     .res NUM_TRACKS
trk_ptr_lo:     .res NUM_TRACKS
trk_ptr_hi:     .res NUM_TRACKS
trk_timer:      .res NUM_TRACKS
trk_len:        .res NUM_TRACKS
trk_note:       .res NUM_TRACKS
trk_instr:      .res NUM_TRACKS
trk_env_pos:    .res NUM_TRACKS
trk_vol:        .res NUM_TRACKS
trk_trigger:    .res NUM_TRACKS
sq_last_hi:     .res 2          ; last period high byte written per pulse channel
tri_on:         .res 1

.segment "CODE"

.proc sound_init
    lda #$0F                    ; pulses, triangle and noise on; delta modulation idle
    sta APU_STATUS
    lda #$30                    ; constant volume 0, length counter halted
    sta SQ1_VOL
    sta SQ2_VOL
    sta NOISE_VOL
    lda #$08                    ; sweep off; negate set so low notes are not muted
    sta SQ1_SWEEP
    sta SQ2_SWEEP
    lda #0
    sta TRI_LINEAR
    sta tri_on
    sta music_enabled
    sta snd_lock
    ldx #NUM_TRACKS - 1
@clear:
    sta trk_active, x
    sta trk_vol, x
    dex
    bpl @clear
    lda #$FF
    sta sq_last_hi
    sta sq_last_hi + 1
    rts
.endproc

; Starts a song: X/Y = low/high address of its four stream addresses (pulse 1, pulse 2,
; triangle, noise).
.proc music_play
    inc snd_lock
    stx snd_ptr
    sty snd_ptr + 1
    ldx #0
    ldy #0
@track:
    lda (snd_ptr), y
    sta trk_ptr_lo, x
    iny
    lda (snd_ptr), y
    sta trk_ptr_hi, x
    iny
    jsr start_track
    inx
    cpx #4
    bne @track
    lda #1
    sta music_enabled
    dec snd_lock
    rts
.endproc

.proc music_stop
    inc snd_lock
    lda #0
    sta music_enabled
    ldx #3
@track:
    sta trk_active, x
    sta trk_vol, x
    dex
    bpl @track
    dec snd_lock
    rts
.endproc

; Plays an effect on pulse 2: X/Y = low/high address of its stream.
.proc sfx_play_pulse
    lda #TRACK_SFX_PULSE
    jmp sfx_play
.endproc

; Plays an effect on the noise channel: X/Y = low/high address of its stream.
.proc sfx_play_noise
    lda #TRACK_SFX_NOISE
    jmp sfx_play
.endproc

; Starts the stream at X/Y on effect track A, replacing any effect playing there.
.proc sfx_play
    inc snd_lock
    stx snd_ptr
    sty snd_ptr + 1
    tax
    lda snd_ptr
    sta trk_ptr_lo, x
    lda snd_ptr + 1
    sta trk_ptr_hi, x
    jsr start_track
    dec snd_lock
    rts
.endproc

; Sets up track X for a stream whose address is already in trk_ptr_lo/hi.
.proc start_track
    lda #1
    sta trk_active, x
    sta trk_timer, x
    lda #DEFAULT_LEN
    sta trk_len, x
    lda #NO_NOTE
    sta trk_note, x
    lda #0
    sta trk_instr, x
    sta trk_env_pos, x
    sta trk_vol, x
    sta trk_trigger, x
    rts
.endproc

; ---- Per frame ------------------------------------------------------------------------------
.proc sound_update
    lda snd_lock
    bne @done
    ldx #0
@tick:
    jsr track_tick
    inx
    cpx #NUM_TRACKS
    bne @tick

    lda #0
    sta snd_reg
    sta snd_chan
    ldx #TRACK_SQ1
    jsr output_pulse

    lda #4
    sta snd_reg
    lda #1
    sta snd_chan
    ldx #TRACK_SQ2
    lda trk_active + TRACK_SFX_PULSE
    beq :+
    lda #0
    sta trk_trigger + TRACK_SQ2
    ldx #TRACK_SFX_PULSE
:   jsr output_pulse

    jsr output_triangle

    ldx #TRACK_NOISE
    lda trk_active + TRACK_SFX_NOISE
    beq :+
    lda #0
    sta trk_trigger + TRACK_NOISE
    ldx #TRACK_SFX_NOISE
:   jsr output_noise
@done:
    rts
.endproc

; Advances track X by one frame: reads the stream when the current note ends, then steps the
; volume envelope into trk_vol.
.proc track_tick
    lda trk_active, x
    bne @active
    sta trk_vol, x
    rts
@active:
    dec trk_timer, x
    bne @envelope
    lda trk_ptr_lo, x
    sta snd_ptr
    lda trk_ptr_hi, x
    sta snd_ptr + 1
    ldy #0
@read:
    lda (snd_ptr), y
    iny
    cmp #$80
    bcc @not_length
    and #$7F
    sta trk_len, x
    jmp @read
@not_length:
    cmp #REST
    bcc @note
    beq @rest
    cmp #INSTR
    bne @not_instrument
    lda (snd_ptr), y
    iny
    sta trk_instr, x
    jmp @read
@not_instrument:
    cmp #JUMP
    bne @end
    lda (snd_ptr), y
    pha
    iny
    lda (snd_ptr), y
    sta snd_ptr + 1
    pla
    sta snd_ptr
    ldy #0
    jmp @read
@end:
    lda #0
    sta trk_active, x
    sta trk_vol, x
    rts
@rest:
    lda #NO_NOTE
@note:
    sta trk_note, x
    lda #0
    sta trk_env_pos, x
    lda #1
    sta trk_trigger, x
    lda trk_len, x
    sta trk_timer, x
    tya
    clc
    adc snd_ptr
    sta trk_ptr_lo, x
    lda snd_ptr + 1
    adc #0
    sta trk_ptr_hi, x

@envelope:
    lda trk_note, x
    cmp #NO_NOTE
    bne @sounding
    lda #0
    sta trk_vol, x
    rts
@sounding:
    cpx #TRACK_NOISE
    beq @drum
    cpx #TRACK_SFX_NOISE
    beq @drum
    ldy trk_instr, x
    lda instr_env_lo, y
    sta snd_env
    lda instr_env_hi, y
    sta snd_env + 1
    jmp @step
@drum:
    tay                         ; A = drum number
    lda drum_env_lo, y
    sta snd_env
    lda drum_env_hi, y
    sta snd_env + 1
@step:
    ldy trk_env_pos, x
    lda (snd_env), y
    cmp #ENV_HOLD
    bne @advance
    dey
    lda (snd_env), y
    jmp @set
@advance:
    inc trk_env_pos, x
@set:
    sta trk_vol, x
    rts
.endproc

; Writes pulse channel snd_chan (registers at $4000 + snd_reg) from track X.
.proc output_pulse
    ldy trk_instr, x
    lda instr_duty, y
    ora #$30
    ora trk_vol, x
    ldy snd_reg
    sta SQ1_VOL, y
    lda #0
    sta trk_trigger, x
    lda trk_note, x
    cmp #NO_NOTE
    beq @done
    tax
    lda period_lo, x
    sta SQ1_LO, y
    lda period_hi, x
    ldx snd_chan
    cmp sq_last_hi, x
    beq @done
    sta sq_last_hi, x           ; a $4003/$4007 write restarts the duty phase: only on change
    sta SQ1_HI, y
@done:
    rts
.endproc

; The triangle has no volume: a zero envelope value silences it through the linear counter.
.proc output_triangle
    ldx #TRACK_TRI
    lda trk_vol, x
    beq @off
    ldy trk_note, x
    cpy #NO_NOTE
    beq @off
    lda #$FF                    ; control set: the linear counter keeps reloading
    sta TRI_LINEAR
    lda period_lo, y
    sta TRI_LO
    lda tri_on
    beq @restart
    lda trk_trigger, x
    beq @done
@restart:
    lda period_hi, y            ; the $400B write reloads the linear counter
    sta TRI_HI
    lda #1
    sta tri_on
@done:
    lda #0
    sta trk_trigger, x
    rts
@off:
    lda tri_on
    beq @done
    lda #0
    sta TRI_LINEAR              ; reload value 0 with control clear: silent within a quarter frame
    sta tri_on
    beq @done
.endproc

; Writes the noise channel from track X; a new drum sets the noise period and may start the kick.
.proc output_noise
    lda trk_vol, x
    ora #$30
    sta NOISE_VOL
    lda trk_trigger, x
    beq @done
    lda #0
    sta trk_trigger, x
    ldy trk_note, x
    cpy #NO_NOTE
    beq @done
    lda drum_period, y
    sta NOISE_LO
    lda #0
    sta NOISE_HI
    lda drum_uses_kick, y
    beq @done
    lda #$0F                    ; stop the sample so that enabling it again restarts it
    sta APU_STATUS
    lda #$0F                    ; fastest rate, no loop, no IRQ
    sta DMC_FREQ
    lda #0
    sta DMC_RAW
    lda #<((dmc_kick - $C000) / 64)
    sta DMC_START
    lda #DMC_KICK_LENGTH_CODE
    sta DMC_LEN
    lda #$1F
    sta APU_STATUS
@done:
    rts
.endproc

.segment "RODATA"

period_lo:
    .byte $AD, $4D, $F3, $9D, $4C, $00, $B8, $74, $34, $F8, $BF, $89
    .byte $56, $26, $F9, $CE, $A6, $80, $5C, $3A, $1A, $FB, $DF, $C4
    .byte $AB, $93, $7C, $67, $52, $3F, $2D, $1C, $0C, $FD, $EF, $E1
    .byte $D5, $C9, $BD, $B3, $A9, $9F, $96, $8E, $86, $7E, $77, $70
    .byte $6A, $64, $5E, $59, $54, $4F, $4B, $46, $42, $3F, $3B, $38
    .byte $34, $31, $2F, $2C, $29, $27, $25, $23, $21, $1F, $1D, $1B
period_hi:
    .byte $06, $06, $05, $05, $05, $05, $04, $04, $04, $03, $03, $03
    .byte $03, $03, $02, $02, $02, $02, $02, $02, $02, $01, $01, $01
    .byte $01, $01, $01, $01, $01, $01, $01, $01, $01, $00, $00, $00
    .byte $00, $00, $00, $00, $00, $00, $00, $00, $00, $00, $00, $00
    .byte $00, $00, $00, $00, $00, $00, $00, $00, $00, $00, $00, $00
    .byte $00, $00, $00, $00, $00, $00, $00, $00, $00, $00, $00, $00

; Instruments in I_* order: duty bits and volume envelope.
instr_duty:
    .byte $40, $80, $00, $00, $00, $80, $40, $80
instr_env_lo:
    .byte <env_lead, <env_soft, <env_pluck, <env_tri, <env_tri_short, <env_blip, <env_bell, <env_pad
instr_env_hi:
    .byte >env_lead, >env_soft, >env_pluck, >env_tri, >env_tri_short, >env_blip, >env_bell, >env_pad

env_lead:       .byte 13, 12, 11, 10, 10, 9, 9, 9, 8, ENV_HOLD
env_soft:       .byte 5, 5, 4, 4, 4, 3, ENV_HOLD
env_pluck:      .byte 11, 9, 7, 6, 5, 4, 3, 3, 2, 2, 1, 1, 0, ENV_HOLD
env_tri:        .byte 1, ENV_HOLD
env_tri_short:  .byte 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, ENV_HOLD
env_blip:       .byte 15, 14, 12, 10, 8, 6, 4, 2, 1, 0, ENV_HOLD
env_bell:       .byte 14, 11, 9, 8, 7, 6, 6, 5, 5, 4, 4, 3, 3, 3, 2, 2, 2, 1, 1, 1, 0, ENV_HOLD
env_pad:        .byte 2, 3, 4, 5, 6, 6, 7, 7, 7, 6, 6, 6, 5, 5, 5, 5, 4, ENV_HOLD

; Drums in DRUM_* order: noise period ($400E, bit 7 = short sequence), envelope, kick sample.
drum_period:
    .byte $01, $06, $0D, $02, $03, $0A, $83
drum_env_lo:
    .byte <env_hat, <env_snare, <env_kick, <env_open, <env_crash, <env_stomp, <env_zap
drum_env_hi:
    .byte >env_hat, >env_snare, >env_kick, >env_open, >env_crash, >env_stomp, >env_zap
drum_uses_kick:
    .byte 0, 0, 1, 0, 0, 1, 0

env_hat:        .byte 7, 4, 2, 1, 0, ENV_HOLD
env_snare:      .byte 12, 10, 8, 6, 5, 4, 3, 2, 1, 0, ENV_HOLD
env_kick:       .byte 9, 6, 3, 1, 0, ENV_HOLD
env_open:       .byte 6, 6, 5, 5, 4, 4, 3, 3, 2, 2, 1, 1, 0, ENV_HOLD
env_crash:      .byte 13, 12, 11, 10, 9, 8, 7, 6, 6, 5, 5, 4, 4, 3, 3, 2, 2, 1, 1, 0, ENV_HOLD
env_stomp:      .byte 15, 13, 11, 9, 7, 5, 3, 2, 1, 0, ENV_HOLD
env_zap:        .byte 10, 8, 6, 4, 2, 0, ENV_HOLD

; ---- Kick drum sample -----------------------------------------------------------------------
; One-bit delta stream, least significant bit first: each 1 raises the output a step, each 0
; lowers it. Five cycles of a falling-pitch, decaying wave above the resting level, then rest.
.segment "DMC"

DMC_KICK_LENGTH_CODE = 19                           ; 19 * 16 + 1 = 305 bytes
DMC_KICK_BITS        = (DMC_KICK_LENGTH_CODE * 16 + 1) * 8

__dmc_byte  .set 0
__dmc_count .set 0
__dmc_total .set 0

.macro DMC_BIT value
    .if value
        __dmc_byte .set __dmc_byte | (1 << __dmc_count)
    .endif
    __dmc_count .set __dmc_count + 1
    __dmc_total .set __dmc_total + 1
    .if __dmc_count = 8
        .byte __dmc_byte
        __dmc_byte  .set 0
        __dmc_count .set 0
    .endif
.endmacro

; `steps` steps in one direction, then up-down pairs (no net change) to fill `bits` bits.
.macro DMC_RAMP up, steps, bits
    .repeat steps
        DMC_BIT up
    .endrepeat
    .repeat ((bits) - (steps)) / 2
        DMC_BIT 1
        DMC_BIT 0
    .endrepeat
.endmacro

.macro DMC_CYCLE steps, half_bits
    DMC_RAMP 1, steps, half_bits
    DMC_RAMP 0, steps, half_bits
.endmacro

dmc_kick:
    DMC_CYCLE 48, 150           ; about 110 Hz at 33.1 kHz
    DMC_CYCLE 36, 194
    DMC_CYCLE 26, 242
    DMC_CYCLE 16, 284
    DMC_CYCLE 8, 318
    .repeat (DMC_KICK_BITS - __dmc_total) / 2
        DMC_BIT 1
        DMC_BIT 0
    .endrepeat

.assert dmc_kick >= $C000, error, "delta-modulation samples must lie in $C000-$FFFF"
.assert (dmc_kick & 63) = 0, error, "delta-modulation samples start on a 64-byte boundary"
.assert __dmc_total = DMC_KICK_BITS, error, "kick sample length"
