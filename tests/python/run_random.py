"""The run's random numbers in Python: the 64-bit Mersenne Twister that pseudal2logo --run --seed N
starts with N, and the run's two draws from it (run/random_draws.h). A program that draws is
given these in place of random.random and random.randint, so that it draws what the run draws."""

import math

MASK = (1 << 64) - 1
SIZE, SHIFT = 312, 156
UPPER, LOWER = MASK ^ ((1 << 31) - 1), (1 << 31) - 1
MATRIX = 0xB5026F5AA96619E9


class RunRandom:
    def __init__(self, seed):
        state = [seed & MASK]
        for i in range(1, SIZE):
            previous = state[-1]
            state.append((6364136223846793005 * (previous ^ (previous >> 62)) + i) & MASK)
        self.state, self.index = state, SIZE

    def _next(self):
        if self.index == SIZE:
            state = self.state
            for i in range(SIZE):
                x = (state[i] & UPPER) | (state[(i + 1) % SIZE] & LOWER)
                state[i] = state[(i + SHIFT) % SIZE] ^ (x >> 1) ^ (MATRIX if x & 1 else 0)
            self.index = 0
        y = self.state[self.index]
        self.index += 1
        y ^= (y >> 29) & 0x5555555555555555
        y ^= (y << 17) & 0x71D67FFFEDA60000
        y ^= (y << 37) & 0xFFF7EEE000000000
        return (y ^ (y >> 43)) & MASK

    def random(self):
        """randdec 0 1."""
        return (self._next() >> 11) * 2.0 ** -53

    def whole(self, count):
        skipped = (-count) % count
        drawn = self._next()
        while drawn < skipped:
            drawn = self._next()
        return drawn % count

    def randint(self, a, b):
        """( random a b ): from the whole numbers between a and b, both included."""
        low, high = math.ceil(a), math.floor(b)
        if high < low:
            raise ValueError("« random » n'a aucun nombre entier à tirer entre ses bornes.")
        return low + self.whole(high - low + 1)


if __name__ == "__main__":
    # The standard's check of the engine: its 10,000th number from the default seed.
    engine = RunRandom(5489)
    for _ in range(9999):
        engine._next()
    assert engine._next() == 9981545732273789042
    print("ok")
